#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string_view>

#include "tolva/values/list.hpp"

namespace tolva::grammar {

// A half-open range of byte offsets into the UTF-8 text.
struct Span {
  std::size_t start = 0;
  std::size_t end = 0;
  friend bool operator==(const Span&, const Span&) = default;
};

// Something that could have continued a text where it failed: a token (a
// single literal character), a label naming a rule, or the end test. A
// pattern is its text as reports show it ('v', digit, end of input); two
// patterns are the same when made from the same text object, so a version
// scheme defines the patterns of its own texts beside its reader:
//
//   inline constexpr std::string_view shown_upstream = "alphanumeric or one of . + - : ~";
//   inline constexpr tolva::grammar::ExpectedPattern upstream_char{shown_upstream};
namespace shown {
inline constexpr std::string_view token_v = "'v'", token_dot = "'.'", token_hyphen = "'-'",
                                  token_plus = "'+'", part_char = "alphanumeric or '-'",
                                  dot_list = "dot-separated list", digit = "digit",
                                  integer = "integer", identifier = "identifier",
                                  end_of_input = "end of input", token_bar = "'|'",
                                  token_equals = "'='", comparator = "comparator",
                                  range_operand = "version";
}  // namespace shown

class ExpectedPattern {
 public:
  explicit constexpr ExpectedPattern(const std::string_view& shown) noexcept : shown_(&shown) {}
  constexpr ExpectedPattern() noexcept : shown_(&shown::end_of_input) {}
  constexpr std::string_view shown() const noexcept { return *shown_; }
  friend constexpr bool operator==(ExpectedPattern, ExpectedPattern) noexcept = default;
  friend auto operator<=>(ExpectedPattern a, ExpectedPattern b) noexcept {
    return std::compare_three_way{}(a.shown_, b.shown_);
  }

  // The version grammar's own.
  static const ExpectedPattern TokenV;       // 'v'
  static const ExpectedPattern TokenDot;     // '.'
  static const ExpectedPattern TokenHyphen;  // '-'
  static const ExpectedPattern TokenPlus;    // '+'
  static const ExpectedPattern PartChar;     // alphanumeric or '-'
  static const ExpectedPattern DotList;      // dot-separated list
  static const ExpectedPattern Digit;        // digit
  static const ExpectedPattern Integer;      // integer
  static const ExpectedPattern Identifier;   // identifier
  static const ExpectedPattern EndOfInput;   // end of input
  // Range texts (tolva/grammar/range_text.hpp).
  static const ExpectedPattern TokenBar;      // '|'
  static const ExpectedPattern TokenEquals;   // '='
  static const ExpectedPattern Comparator;    // comparator
  static const ExpectedPattern RangeOperand;  // version

 private:
  const std::string_view* shown_;
};

inline constexpr ExpectedPattern ExpectedPattern::TokenV{shown::token_v};
inline constexpr ExpectedPattern ExpectedPattern::TokenDot{shown::token_dot};
inline constexpr ExpectedPattern ExpectedPattern::TokenHyphen{shown::token_hyphen};
inline constexpr ExpectedPattern ExpectedPattern::TokenPlus{shown::token_plus};
inline constexpr ExpectedPattern ExpectedPattern::PartChar{shown::part_char};
inline constexpr ExpectedPattern ExpectedPattern::DotList{shown::dot_list};
inline constexpr ExpectedPattern ExpectedPattern::Digit{shown::digit};
inline constexpr ExpectedPattern ExpectedPattern::Integer{shown::integer};
inline constexpr ExpectedPattern ExpectedPattern::Identifier{shown::identifier};
inline constexpr ExpectedPattern ExpectedPattern::EndOfInput{shown::end_of_input};
inline constexpr ExpectedPattern ExpectedPattern::TokenBar{shown::token_bar};
inline constexpr ExpectedPattern ExpectedPattern::TokenEquals{shown::token_equals};
inline constexpr ExpectedPattern ExpectedPattern::Comparator{shown::comparator};
inline constexpr ExpectedPattern ExpectedPattern::RangeOperand{shown::range_operand};

// How reports show a pattern: 'v', digit, end of input, ...
[[nodiscard]] constexpr std::string_view display_text(ExpectedPattern p) noexcept {
  return p.shown();
}

// What stands at the failure.
enum class FoundKind : std::uint8_t {
  Character,       // `found` itself, or the end of the text when absent
  IllFormedUtf8,   // bytes that start no UTF-8 character; `found` is U+FFFD
  NumberTooLarge,  // digits worth more than 4294967295; `found` is the first
};

// The one failure a parser reports: where it failed, what stood there (absent:
// the end of the text) and everything that could have continued the text there,
// in the order the grammar met them, without duplicates. The span covers what
// was found: one character, the ill-formed bytes, or the whole number.
struct ParseError {
  Span span;
  std::optional<char32_t> found;
  List<ExpectedPattern> expected;
  FoundKind found_kind = FoundKind::Character;
  friend bool operator==(const ParseError&, const ParseError&) = default;
};

// The error of a text that fails at byte `at`, where any of `expected` (in
// that order, at least one) could have stood: what was found there is read
// from the text (absent at its end). The one way every reader, the schemes'
// included, reports a failure at a place.
[[nodiscard]] ParseError failure_at(std::string_view text, std::size_t at,
                                    std::span<const ExpectedPattern> expected);
[[nodiscard]] inline ParseError failure_at(std::string_view text, std::size_t at,
                                           std::initializer_list<ExpectedPattern> expected) {
  return failure_at(text, at, std::span(expected.begin(), expected.size()));
}

// An error of a text read inside a larger one (an operand of a range), moved
// to where that text starts in `whole`. An error at the inner text's end
// found what ended it there, not the end of the whole.
[[nodiscard]] ParseError moved_into(ParseError error, std::string_view whole, std::size_t offset);

}  // namespace tolva::grammar
