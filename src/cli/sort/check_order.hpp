#pragma once

#include <string_view>
#include <system_error>

#include "../exit_status.hpp"
#include "../output.hpp"
#include "settings.hpp"

namespace tolva::cli::sort {

// Checks that the lines of the inputs, one after another, are in order:
// reports the first line out of order as "NAME:LINE: disorder: TEXT" and
// stops there. With `unique`, a repeated version is out of order too.
// Rejected lines are reported and passed over.
class OrderCheck {
 public:
  OrderCheck(const Settings& settings, Streams& io) : settings_(settings), io_(io) {}

  // Reads one input, unless disorder was found already: nothing, or the
  // error of a failed read.
  std::error_code read(int fd, std::string_view name);
  // ok, or rejected when some line was rejected or out of order.
  ExitStatus status() const noexcept { return status_; }

 private:
  bool in_order(std::string_view key) const noexcept;

  const Settings& settings_;
  Streams& io_;
  std::string previous_;
  std::string key_;
  bool any_ = false;
  bool disorder_ = false;
  ExitStatus status_ = ExitStatus::ok;
};

}  // namespace tolva::cli::sort
