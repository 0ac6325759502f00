#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "../command_line.hpp"
#include "../line_order.hpp"

namespace tolva::cli::sort {

// What a sort or an order check does: its options as given (the scheme,
// the kind, -r, -u, --keep-rejected, the key field and separator), and what is made of
// them and of the machine.
struct Settings {
  const Invocation& options;
  LineOrder order;  // how the lines read and order: the scheme, kind and part order
  bool colour = false;
  char terminator = '\n';
  std::size_t buffer_size = 0;  // bytes of records held before a spill
  unsigned threads = 1;
  std::string temp_dir{};
};

// Appends the order key of a line to `out` and returns true; for a rejected
// line appends its report, ending in a line feed, to `reports` and returns
// false, leaving `out` as it was. `style` names the line.
bool line_key(const Settings& settings, std::string_view line, const report::ReportStyle& style,
              std::string& out, std::string& reports);

}  // namespace tolva::cli::sort
