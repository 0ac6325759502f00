#include "failure_record.hpp"

namespace tolva::grammar {

ParseError failure_at(std::string_view text, std::size_t at,
                      std::span<const ExpectedPattern> expected) {
  detail::FailureRecord record;
  for (ExpectedPattern p : expected) record.record(at, p);
  return detail::to_parse_error(text, record);
}

ParseError moved_into(ParseError error, std::string_view whole, std::size_t offset) {
  error.span.start += offset;
  error.span.end += offset;
  if (!error.found && error.span.start < whole.size()) {
    error.found = static_cast<unsigned char>(whole[error.span.start]);
    error.span.end = error.span.start + 1;
  }
  return error;
}

}  // namespace tolva::grammar
