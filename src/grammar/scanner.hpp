#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>
#include <utility>

#include "build.hpp"
#include "char_classes.hpp"
#include "failure_record.hpp"
#include "tolva/grammar/parse_error.hpp"
#include "tolva/values/semver.hpp"
#include "tolva/values/text_list.hpp"

namespace tolva::grammar::detail {

// A cursor over one version text, the furthest-failure record of the parse and
// the rules of the grammar. A rule that matches moves the cursor past what it
// took; one that does not leaves the cursor where it was, so the next
// alternative starts from there while the failures stay. Every rule runs in a
// loop over the text, never by recursion, so the stack stays flat.
class Scanner {
 public:
  explicit Scanner(std::string_view text, Build build = Build::values) noexcept
      : text_(text), build_(build) {}

  // Optional 'v', major.minor.patch, optional '-' list, optional '+' list,
  // then the end of the text, read into `out`; false if any of these does not
  // match. The lists are built only once the whole text is known to match.
  bool semver_text(SemVer& out);
  // Zero or more parts joined by single dots, then the end of the text; the
  // parts, or nothing when the text goes on.
  std::optional<TextList> dot_list();
  // An identifier-start character and any identifier-continue characters.
  std::optional<std::string_view> identifier() noexcept;
  // True at the end of the text.
  bool end_of_input() noexcept;

  // The one error of a failed parse.
  ParseError error() const { return to_parse_error(text_, record_); }

 private:
  bool at_byte(char c) const noexcept { return pos_ < text_.size() && text_[pos_] == c; }
  bool literal(char c, ExpectedPattern p) noexcept;
  std::optional<std::uint32_t> integer() noexcept;
  bool numbers(SemVer& out) noexcept;
  // Zero or more parts joined by single dots; always matches.
  JoinedParts measure_list() noexcept;
  // End of the run of part characters from `from`; records the test that ended it.
  std::size_t part_end(std::size_t from) noexcept;
  // Byte length of the identifier character at `at`, 0 if there is none.
  std::size_t ident_char(std::size_t at, bool first) const noexcept;

  // Labelled rules keep failures in their own record while they run.
  FailureRecord begin_labelled() noexcept;
  void end_labelled(FailureRecord& enclosing, std::size_t start, ExpectedPattern label) noexcept;

  std::string_view text_;
  Build build_;
  std::size_t pos_ = 0;
  FailureRecord record_;
};

// The rules a plain release runs through are inline, so it parses without calls.

inline bool Scanner::literal(char c, ExpectedPattern p) noexcept {
  if (at_byte(c)) {
    ++pos_;
    return true;
  }
  record_.record(pos_, p);
  return false;
}

inline bool Scanner::end_of_input() noexcept {
  if (pos_ == text_.size()) return true;
  record_.record(pos_, ExpectedPattern::EndOfInput);
  return false;
}

inline std::optional<std::uint32_t> Scanner::integer() noexcept {
  const std::size_t start = pos_;
  constexpr std::uint64_t max = std::numeric_limits<std::uint32_t>::max();
  std::uint64_t value = 0;
  while (pos_ < text_.size() && has_class(text_[pos_], kDigit)) {
    if (value <= max) value = value * 10 + static_cast<unsigned>(text_[pos_] - '0');
    ++pos_;
  }
  // A number past the 32-bit range is not an integer here: reading it as some
  // other number would silently change the version, while rejecting it leaves
  // the text to the other readings (a Version keeps it as dot-separated parts).
  // Either way the rule fails where it started and reports itself there.
  if (pos_ == start) {
    record_.record(start, ExpectedPattern::Integer);
    return std::nullopt;
  }
  if (value > max) {
    record_.record_large_number(start, pos_);
    pos_ = start;
    return std::nullopt;
  }
  // The rule's own record holds only the digit test that stopped it, so
  // merging that record comes down to recording one pattern.
  record_.record(pos_, ExpectedPattern::Digit);
  return static_cast<std::uint32_t>(value);
}

inline bool Scanner::numbers(SemVer& out) noexcept {
  const std::size_t start = pos_;
  std::uint32_t* const fields[] = {&out.major, &out.minor, &out.patch};
  for (std::size_t i = 0; i < 3; ++i) {
    if (i > 0 && !literal('.', ExpectedPattern::TokenDot)) {
      pos_ = start;
      return false;
    }
    const auto n = integer();
    if (!n) {
      pos_ = start;
      return false;
    }
    *fields[i] = *n;
  }
  return true;
}

inline bool Scanner::semver_text(SemVer& out) {
  const std::size_t start = pos_;
  literal('v', ExpectedPattern::TokenV);
  if (!numbers(out)) {
    pos_ = start;
    return false;
  }
  OptionalJoinedParts rc;
  OptionalJoinedParts meta;
  if (literal('-', ExpectedPattern::TokenHyphen)) rc = measure_list();
  if (literal('+', ExpectedPattern::TokenPlus)) meta = measure_list();
  if (!end_of_input()) {
    pos_ = start;
    return false;
  }
  if (build_ == Build::values && (rc || meta)) out.set_joined_lists(rc, meta);
  return true;
}

}  // namespace tolva::grammar::detail
