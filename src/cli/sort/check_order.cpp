#include "check_order.hpp"

#include "../lines.hpp"
#include "../shown_name.hpp"
#include "records.hpp"
#include "text/decimal.hpp"

namespace tolva::cli::sort {

bool OrderCheck::in_order(std::string_view key) const noexcept {
  if (!any_) return true;
  int order = compare_keys(previous_, key);
  if (settings_.options.reverse) order = -order;
  return settings_.options.unique ? order < 0 : order <= 0;
}

std::error_code OrderCheck::read(int fd, std::string_view name) {
  if (disorder_) return {};
  LineReader lines(fd, settings_.terminator);
  report::ReportStyle style{.source_name = name, .first_line = 0, .colour = settings_.colour};
  std::string reports;
  for (;;) {
    auto next = lines.next();
    if (!next) return next.error();
    if (!*next) return {};
    std::string_view line = **next;
    ++style.first_line;
    key_.clear();
    if (!line_key(settings_, line, style, key_, reports)) {
      io_.report(reports);
      reports.clear();
      status_ = ExitStatus::rejected;
      continue;
    }
    if (!in_order(key_)) {
      std::string message(name);
      message.push_back(':');
      append_decimal(message, style.first_line);
      message.append(": disorder: ").append(shown_name(line)).push_back('\n');
      io_.report(message);
      status_ = ExitStatus::rejected;
      disorder_ = true;
      return {};
    }
    previous_.swap(key_);
    any_ = true;
  }
}

}  // namespace tolva::cli::sort
