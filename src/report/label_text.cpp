#include "shown_char.hpp"
#include "tolva/report/parse_report.hpp"
#include "tolva/unicode/utf8.hpp"

namespace tolva::report {

std::string label_text(const grammar::ParseError& error) {
  std::string text = "found ";
  if (error.found) {
    text += '\'';
    unicode::append_utf8(text, visible_char(*error.found));
    text += '\'';
  } else {
    text += "end of input";
  }
  text += " expected ";

  const std::vector<grammar::ExpectedPattern>& expected = error.expected;
  if (expected.empty()) {
    text += "something else";
    return text;
  }
  for (std::size_t i = 0; i + 1 < expected.size(); ++i) {
    text += grammar::display_text(expected[i]);
    text += ", ";
  }
  if (expected.size() > 1) text += "or ";
  text += grammar::display_text(expected.back());
  return text;
}

}  // namespace tolva::report
