#include "shown_char.hpp"
#include "tolva/report/parse_report.hpp"
#include "unicode/utf8.hpp"

namespace tolva::report {
namespace {

// The found character as the label shows it. A raw line feed or carriage
// return would break the arrow row apart (or move the cursor back over it), so
// in the label they are stand-ins too; the source row keeps its own rules.
char32_t label_char(char32_t c) noexcept {
  if (c == U'\n' || c == U'\r') return U'\u2400' + c;
  return visible_char(c);
}

}  // namespace

std::string label_text(const grammar::ParseError& error) {
  std::string text = "found ";
  if (error.found) {
    text += '\'';
    unicode::append_utf8(text, label_char(*error.found));
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
