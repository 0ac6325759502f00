#pragma once

#include <expected>
#include <string_view>

#include "grammar/failure_record.hpp"
#include "tolva/scheme/scheme.hpp"

// What the schemes' range readers share: the cursor over the range text, its
// blanks and "||", and errors placed in the range text.
namespace tolva::scheme::detail {

using P = grammar::ExpectedPattern;
using Step = std::expected<void, ParseError>;

inline bool is_blank(char c) noexcept { return c == ' ' || c == '\t'; }

class RangeText {
 public:
  explicit RangeText(std::string_view text) noexcept : text_(text) {}

  std::string_view text() const noexcept { return text_; }
  std::size_t pos() const noexcept { return pos_; }
  void move_to(std::size_t at) noexcept { pos_ = at; }
  bool at_end() const noexcept { return pos_ == text_.size(); }
  bool at(char c) const noexcept { return pos_ < text_.size() && text_[pos_] == c; }
  bool at(std::string_view s) const noexcept { return text_.substr(pos_).starts_with(s); }
  void skip_blanks() noexcept {
    while (pos_ < text_.size() && is_blank(text_[pos_])) ++pos_;
  }
  // The end of an alternative: the end of the text or a '|'.
  bool at_alternative_end() const noexcept { return at_end() || at('|'); }
  // Past the "||" at the cursor, or the error of a '|' alone.
  Step take_bars() {
    if (!at("||")) return fail(pos_ + 1, P::TokenBar);
    pos_ += 2;
    return {};
  }
  // The operand from the cursor: up to a blank, a '|' or the end.
  std::string_view take_operand() noexcept {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && !is_blank(text_[pos_]) && text_[pos_] != '|') ++pos_;
    return text_.substr(start, pos_ - start);
  }

  std::unexpected<ParseError> fail(std::size_t at, P expected) const {
    grammar::detail::FailureRecord record;
    record.record(at, expected);
    return std::unexpected(grammar::detail::to_parse_error(text_, record));
  }

  // An operand's own error, moved to where the operand starts. At the
  // operand's end it found what ended it, not the end of the text.
  ParseError shifted(ParseError error, std::size_t offset) const {
    error.span.start += offset;
    error.span.end += offset;
    if (!error.found && error.span.start < text_.size()) {
      error.found = static_cast<unsigned char>(text_[error.span.start]);
      error.span.end = error.span.start + 1;
    }
    return error;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// Whether a version's key satisfies a bound.
bool holds(std::string_view key, const RangeBound& bound) noexcept;

// Reads a range text of the semver scheme.
std::expected<SchemeRange, ParseError> read_semver_range(std::string_view text,
                                                         bool include_prerelease);

}  // namespace tolva::scheme::detail
