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
// pattern is made from the text reports show for it ('v', digit, end of
// input), an object that lives as long as the program; two patterns are the
// same when made from the same object, so a version scheme's reader keeps
// the texts of its own patterns beside it:
//
//   constexpr std::string_view upstream_char = "alphanumeric or one of . + - : ~";
//   return tolva::grammar::failure_at(text, at, {upstream_char});
class ExpectedPattern {
 public:
  constexpr ExpectedPattern(const std::string_view& shown) noexcept : shown_(&shown) {}  // NOLINT
  ExpectedPattern(std::string_view&&) = delete;  // a text that would not outlive it
  constexpr ExpectedPattern() noexcept : shown_(&EndOfInput) {}
  constexpr std::string_view shown() const noexcept { return *shown_; }
  friend constexpr bool operator==(ExpectedPattern, ExpectedPattern) noexcept = default;
  friend auto operator<=>(ExpectedPattern a, ExpectedPattern b) noexcept {
    return std::compare_three_way{}(a.shown_, b.shown_);
  }

  // The version grammar's own, and those of range texts.
  static constexpr std::string_view TokenV = "'v'", TokenDot = "'.'", TokenHyphen = "'-'",
                                    TokenPlus = "'+'", PartChar = "alphanumeric or '-'",
                                    DotList = "dot-separated list", Digit = "digit",
                                    Integer = "integer", Identifier = "identifier",
                                    EndOfInput = "end of input", TokenBar = "'|'",
                                    TokenEquals = "'='", Comparator = "comparator",
                                    RangeOperand = "version";

 private:
  const std::string_view* shown_;
};

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
