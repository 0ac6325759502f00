#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "../line_order.hpp"
#include "tolva/report/parse_report.hpp"

namespace tolva::cli::sort {

// What a sort or an order check does, read from its options.
struct Settings {
  LineOrder order;  // how the lines read and order
  bool colour = false;
  bool reverse = false;
  bool unique = false;
  bool keep_rejected = false;
  char terminator = '\n';
  std::optional<std::size_t> key_field{};  // the version is this field (from 1)
  std::optional<char> separator{};         // of fields; none: runs of blanks
  std::size_t buffer_size = 0;           // bytes of records held before a spill
  unsigned threads = 1;
  std::string temp_dir{};
};

// Appends the order key of a line to `out` and returns true; for a rejected
// line appends its report, ending in a line feed, to `reports` and returns
// false, leaving `out` as it was. `style` names the line.
bool line_key(const Settings& settings, std::string_view line, const report::ReportStyle& style,
              std::string& out, std::string& reports);

}  // namespace tolva::cli::sort
