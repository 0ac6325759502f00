#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "tolva/grammar/parse_error.hpp"

namespace tolva::report {

// "found 'x' expected digit, '-', '+', or end of input", for an error over
// `text` (which the label quotes for ill-formed bytes and too large numbers).
[[nodiscard]] std::string label_text(const grammar::ParseError& error, std::string_view text);

// How a caller that draws its own reports wants them: the name in the header
// (an empty one shows none), the number of the text's first line (header and
// gutter), and colour or not.
struct ReportStyle {
  std::string_view source_name;
  std::size_t first_line = 1;
  bool colour = false;
};

}  // namespace tolva::report
