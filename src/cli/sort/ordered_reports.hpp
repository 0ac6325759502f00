#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>

#include "../output.hpp"

namespace tolva::cli::sort {

// Writes the reports of rejected lines of consecutive pieces of input, parsed
// at once on several threads, to standard error in input order as they are
// made: each piece holds at most about `limit` bytes of reports, and a piece
// whose reports reach it waits for the pieces before it to finish. So the
// reports cost a few buffers, however many lines are rejected.
class OrderedReports {
 public:
  OrderedReports(Streams& io, std::size_t limit) : io_(io), limit_(limit) {}
  OrderedReports(const OrderedReports&) = delete;
  OrderedReports& operator=(const OrderedReports&) = delete;

  // Called by the thread of `piece` (from 0) with its reports so far: writes
  // and clears them once they reach the limit, or at the piece's `end`, which
  // lets the next piece have its turn.
  void hand_over(std::size_t piece, std::string& reports, bool end);
  // Lets every waiting piece go on without writing, after a piece failed:
  // the sort ends with that failure.
  void stop() noexcept;

 private:
  Streams& io_;
  std::size_t limit_;
  std::mutex mutex_;
  std::condition_variable turn_changed_;
  std::size_t turn_ = 0;  // the piece whose reports are written now
  bool stopped_ = false;
};

}  // namespace tolva::cli::sort
