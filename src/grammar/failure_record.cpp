#include "failure_record.hpp"

#include "text/utf8.hpp"

namespace tolva::grammar::detail {

ParseError to_parse_error(std::string_view text, const FailureRecord& record) {
  ParseError error;
  const std::size_t at = record.position();
  error.span = {at, at};
  if (record.number_end() > at) {
    error.found = static_cast<char32_t>(text[at]);
    error.found_kind = FoundKind::NumberTooLarge;
    error.span.end = record.number_end();
  } else if (at < text.size()) {
    const text::Decoded d = text::decode_utf8(text, at);
    error.found = d.code_point;
    if (!d.well_formed) error.found_kind = FoundKind::IllFormedUtf8;
    error.span.end = at + d.length;
  }
  const auto expected = record.expected();
  error.expected.assign(expected.begin(), expected.end());
  return error;
}

}  // namespace tolva::grammar::detail
