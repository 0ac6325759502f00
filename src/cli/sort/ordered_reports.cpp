#include "ordered_reports.hpp"

namespace tolva::cli::sort {

void OrderedReports::hand_over(std::size_t piece, std::string& reports, bool end) {
  if (!end && reports.size() < limit_) return;
  std::unique_lock lock(mutex_);
  turn_changed_.wait(lock, [&] { return turn_ == piece || stopped_; });
  if (stopped_) {
    reports.clear();
    return;
  }
  // Standard error is written by one piece at a time, under the lock.
  if (!reports.empty()) io_.report(reports);
  reports.clear();
  if (end) {
    ++turn_;
    turn_changed_.notify_all();
  }
}

void OrderedReports::stop() noexcept {
  {
    std::lock_guard lock(mutex_);
    stopped_ = true;
  }
  turn_changed_.notify_all();
}

}  // namespace tolva::cli::sort
