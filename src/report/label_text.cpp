#include <algorithm>

#include "label_words.hpp"
#include "shown_char.hpp"
#include "text/quoted.hpp"
#include "text/utf8.hpp"
#include "tolva/report/parse_report.hpp"

namespace tolva::report {
namespace {

// What the span of `error` covers, clamped to `text`.
std::string_view found_bytes(const grammar::ParseError& error, std::string_view text) noexcept {
  const std::size_t start = std::min(error.span.start, text.size());
  const std::size_t end = std::clamp(error.span.end, start, text.size());
  return text.substr(start, end - start);
}

// Appends the digits of a too large number, cut as a long line is. Only the
// digits: the label never copies anything else of the text raw.
void append_digits(std::string& text, std::string_view number) {
  const bool cut = number.size() > 2 * shown_around;
  for (char c : cut ? number.substr(0, shown_around) : number)
    if (c >= '0' && c <= '9') text += c;
  if (cut) text += cut_mark;
}

void append_found(std::string& text, const grammar::ParseError& error, std::string_view source) {
  if (!error.found) {
    text += "end of input";
    return;
  }
  switch (error.found_kind) {
    case grammar::FoundKind::IllFormedUtf8:
      text += "invalid UTF-8 ";
      for (char byte : found_bytes(error, source)) append_byte_escape(text, byte);
      return;
    case grammar::FoundKind::NumberTooLarge:
      append_digits(text, found_bytes(error, source));
      text += " (above 4294967295)";
      return;
    case grammar::FoundKind::Character: break;
  }
  text += '\'';
  // A raw tab, line feed or carriage return would break the arrow row apart
  // (or move the cursor back over it): the label shows the found character
  // as a name is shown, not as the source row draws it.
  append_shown_char(text, *error.found);
  text += '\'';
}

}  // namespace

std::string found_text(const grammar::ParseError& error, std::string_view source) {
  std::string text;
  append_found(text, error, source);
  return text;
}

std::string label_text(const grammar::ParseError& error, std::string_view source) {
  std::string text = "found ";
  append_found(text, error, source);
  text += " expected ";

  const List<grammar::ExpectedPattern>& expected = error.expected;
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
