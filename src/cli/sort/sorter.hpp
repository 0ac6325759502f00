#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "../exit_status.hpp"
#include "../output.hpp"
#include "records.hpp"
#include "rejected_lines.hpp"
#include "settings.hpp"

namespace tolva::cli::sort {

// Sorts lines of any number and length in bounded memory. Lines are read in
// blocks, each parsed (by several threads when it is large) into records,
// each thread's records sorted on that thread. When the records held would
// pass the buffer size, they are merged into a run in a temporary file; the
// runs are merged at the end, at most `fan_in` files at once. Reports of
// rejected lines are written as the lines are read, in input order.
class Sorter {
 public:
  Sorter(const Settings& settings, Streams& io);

  // Reads one input to its end: nothing, or the error of a failed read (the
  // lines before it are kept).
  std::error_code read(int fd, std::string_view name);
  // ok, or rejected when some line was.
  ExitStatus status() const noexcept { return status_; }
  // Once the input is read: spills what is held if anything was spilled, and
  // merges runs until one merge takes them all, so that only that merge is
  // left for `write`, which calls this first (again, it does nothing).
  void finish_input();
  // Writes the sorted lines, then the rejected ones when they are kept.
  void write(Output& out);

 private:
  struct Part {
    std::unique_ptr<RecordBlock> records;
    bool sorted = false;
  };

  void parse(std::string_view block, std::string_view name, std::size_t& line_number);
  void parse_alone(std::string_view block, std::string_view name, std::size_t& line_number);
  void parse_in_parallel(std::string_view block, std::string_view name, std::size_t& line_number,
                         unsigned pieces);
  void sort_parts();
  void spill();
  std::string merge_into_file(std::vector<std::unique_ptr<class Source>> sources);

  const Settings& settings_;
  Streams& io_;
  std::size_t block_size_;
  std::size_t reader_buffer_;
  std::vector<Part> parts_;        // in input order
  std::size_t held_ = 0;           // memory of the parts
  std::vector<std::string> runs_;  // in input order
  RejectedLines rejected_;
  ExitStatus status_ = ExitStatus::ok;
};

}  // namespace tolva::cli::sort
