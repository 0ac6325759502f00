#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tolva/grammar/parse_error.hpp"
#include "tolva/report/colour.hpp"

namespace tolva::report {

// One pointer into the source: the span it marks (byte offsets into the
// source, drawn under the characters that hold them), the text at the end of
// its arrow and its colour.
struct Label {
  grammar::Span span;
  std::string text;
  Colour colour;
};

// A diagnostic as data; render_report turns it into text.
struct Report {
  std::string source_id;       // empty: the header names no source
  std::size_t position = 0;    // byte offset the source reference points at
  std::size_t first_line = 1;  // the number the source's first line has in header and gutter
  std::vector<Label> labels;
};

}  // namespace tolva::report
