#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "tolva/values/list.hpp"

namespace tolva {

// A half-open range of byte offsets into the UTF-8 text.
struct Span {
  std::size_t start = 0;
  std::size_t end = 0;
  friend bool operator==(const Span&, const Span&) = default;
};

}  // namespace tolva

namespace tolva::grammar {

using Span = tolva::Span;

// Everything this grammar can expect at a position. Tokens are single literal
// characters, labels name a rule, EndOfInput is the end test.
enum class ExpectedPattern : std::uint8_t {
  TokenV,       // 'v'
  TokenDot,     // '.'
  TokenHyphen,  // '-'
  TokenPlus,    // '+'
  PartChar,     // alphanumeric or '-'
  DotList,      // dot-separated list
  Digit,        // digit
  Integer,      // integer
  Identifier,   // identifier
  EndOfInput,   // end of input
  // Range texts only.
  TokenBar,      // '|'
  TokenEquals,   // '='
  Comparator,    // comparator
  RangeOperand,  // version
  // The version schemes' own texts.
  TokenColon,      // ':'
  LetterOrHyphen,  // letter or '-', which makes digits an identifier
  UpstreamChar,    // what a Debian upstream version may hold
  RevisionChar,    // what a Debian revision may hold
  Wildcard,        // 'x', 'X' or '*'
};
inline constexpr std::size_t expected_pattern_count = 19;

// How reports show a pattern: 'v', digit, end of input, ...
[[nodiscard]] std::string_view display_text(ExpectedPattern p) noexcept;

// What stands at the failure.
enum class FoundKind : std::uint8_t {
  Character,       // `found` itself, or the end of the text when absent
  IllFormedUtf8,   // bytes that start no UTF-8 character; `found` is U+FFFD
  NumberTooLarge,  // digits worth more than 4294967295; `found` is the first
};

}  // namespace tolva::grammar

namespace tolva {

// The one failure a parser reports: where it failed, what stood there (absent:
// the end of the text) and everything that could have continued the text there,
// in the order the grammar met them, without duplicates. The span covers what
// was found: one character, the ill-formed bytes, or the whole number.
struct ParseError {
  Span span;
  std::optional<char32_t> found;
  List<grammar::ExpectedPattern> expected;
  grammar::FoundKind found_kind = grammar::FoundKind::Character;
  friend bool operator==(const ParseError&, const ParseError&) = default;
};

// The names the grammar's callers have used.
namespace grammar {
using ParseError = tolva::ParseError;
}  // namespace grammar

}  // namespace tolva
