#pragma once

#include <cstdint>
#include <expected>
#include <optional>
#include <span>
#include <string_view>
#include <utility>

#include "tolva/grammar/parse_error.hpp"
#include "tolva/values/range.hpp"

// The reader every range syntax is written over: tolva's own (parse_range)
// and each version scheme's. It holds the cursor, the operators, blanks and
// commas between comparators, "||" between alternatives, and places errors in
// the range text; a syntax is a small rule that calls it.
namespace tolva::grammar {

// Every operator a range text of any syntax may hold. The reader knows them
// all, so that one a syntax does not have is refused with a report rather
// than read as part of a version.
enum class RangeOperator : std::uint8_t {
  less,           // <
  less_equal,     // <=
  greater,        // >
  greater_equal,  // >=
  equal,          // =
  equal_equal,    // ==
  identical,      // ===
  not_equal,      // !=
  much_less,      // <<
  much_greater,   // >>
  caret,          // ^
  tilde,          // ~
  tilde_greater,  // ~>
  tilde_equal,    // ~=
};

// The test of a comparison operator (<< is <, >> is >, == is =); `equal` for
// any other.
[[nodiscard]] RangeOp comparison(RangeOperator op) noexcept;

class RangeText {
 public:
  explicit RangeText(std::string_view text) noexcept : text_(text) {}

  std::string_view text() const noexcept { return text_; }
  std::size_t pos() const noexcept { return pos_; }
  void move_to(std::size_t at) noexcept { pos_ = at; }
  bool at_end() const noexcept { return pos_ == text_.size(); }
  bool at(char c) const noexcept { return pos_ < text_.size() && text_[pos_] == c; }
  bool at(std::string_view s) const noexcept { return text_.substr(pos_).starts_with(s); }
  // The end of an alternative: the end of the text or a '|'.
  bool at_alternative_end() const noexcept { return at_end() || at('|'); }

  // Spaces and tabs.
  void skip_blanks() noexcept;
  // Past the "||" at the cursor and the blanks after it, or the error of a
  // '|' alone.
  std::expected<void, ParseError> take_bars();
  // What may stand between two comparators of an alternative: blanks, or a
  // comma with any blanks around it when `commas`; whether a comma was
  // taken, after which a comparator must follow.
  bool skip_joiner(bool commas) noexcept;

  // The operator at the cursor among `allowed`, taken with the blanks after
  // it; nothing when no operator stands there. An operator the syntax does
  // not have is refused where it stands, with the allowed ones that begin
  // with its first character as expected (all of them when none does) and
  // `operand` after them; where an allowed one is a prefix of it ("=" of
  // "=="), the error lies after that one.
  std::expected<std::optional<RangeOperator>, ParseError> take_operator(
      std::span<const RangeOperator> allowed, ExpectedPattern operand);

  // The operand from the cursor: up to a blank, a '|', the end, and a comma
  // when `commas`.
  std::string_view take_operand(bool commas) noexcept;

  // The error at `at` of the range text.
  std::unexpected<ParseError> fail(std::size_t at,
                                   std::initializer_list<ExpectedPattern> expected) const {
    return std::unexpected(failure_at(text_, at, expected));
  }
  // An operand's own error, moved to where the operand starts.
  std::unexpected<ParseError> fail_in_operand(ParseError error, std::size_t start) const {
    return std::unexpected(moved_into(std::move(error), text_, start));
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace tolva::grammar
