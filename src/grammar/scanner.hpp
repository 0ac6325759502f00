#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>
#include <utility>

#include "build.hpp"
#include "char_classes.hpp"
#include "failure_record.hpp"
#include "no_record.hpp"
#include "split_parts.hpp"
#include "tolva/grammar/parse_error.hpp"
#include "tolva/values/semver.hpp"
#include "tolva/values/text_list.hpp"

namespace tolva::grammar::detail {

// A cursor over one version text, the rules of the grammar, and a recorder of
// the failures they meet. A rule that matches moves the cursor past what it
// took; one that does not leaves the cursor where it was, so the next
// alternative starts from there while the failures stay. Every rule runs in a
// loop over the text, never by recursion, so the stack stays flat.
//
// The grammar is read twice over the one text of these rules: first over
// NoRecord, which is all an accepted text needs, and, for a text that first
// try rejects, again over a FailureRecord, whose furthest failure becomes the
// error. The recorder's calls return nothing, so they cannot steer a rule and
// both readings accept the same texts.
template <class Recorder>
class Scanner {
 public:
  explicit Scanner(std::string_view text, Build build = Build::values) noexcept
      : text_(text), build_(build) {}

  // Optional 'v', major.minor.patch, optional '-' list, optional '+' list,
  // then the end of the text, read into `out`; false if any of these does not
  // match. The lists are built only once the whole text is known to match.
  [[gnu::always_inline]] bool semver_text(SemVer& out);
  // The same reading, leaving the lists in the text: the numbers go into
  // `release`, the lists into `rc` and `meta`.
  [[gnu::always_inline]] bool semver_pieces(SemVer& release, OptionalJoinedParts& rc,
                                            OptionalJoinedParts& meta) noexcept;
  // Zero or more parts joined by single dots, then the end of the text; the
  // parts, or nothing when the text goes on.
  std::optional<TextList> dot_list();
  // The same reading, leaving the parts in the text.
  std::optional<JoinedParts> joined_dot_list() noexcept;
  // An identifier-start character and any identifier-continue characters.
  std::optional<std::string_view> identifier() noexcept;
  // True at the end of the text.
  bool end_of_input() noexcept;

  // The one error of a failed reading.
  ParseError error() const requires std::same_as<Recorder, FailureRecord> {
    return to_parse_error(text_, record_);
  }

 private:
  bool at_byte(char c) const noexcept { return pos_ < text_.size() && text_[pos_] == c; }
  // The text from `start` (never past the cursor) up to the cursor.
  std::string_view taken_since(std::size_t start) const noexcept {
    return {text_.data() + start, pos_ - start};
  }
  bool literal(char c, ExpectedPattern p) noexcept;
  // Digits into `out`; fails on none and on a number past 32 bits.
  bool integer(std::uint32_t& out) noexcept;
  bool numbers(SemVer& out) noexcept;
  // Zero or more parts joined by single dots; always matches.
  JoinedParts measure_list() noexcept;
  // End of the run of part characters from `from`; records the test that ended it.
  std::size_t part_end(std::size_t from) noexcept;
  // Byte length of the identifier character at `at`, 0 if there is none.
  std::size_t ident_char(std::size_t at, bool first) const noexcept;

  // Labelled rules keep failures in their own record while they run.
  Recorder begin_labelled() noexcept { return std::exchange(record_, {}); }
  void end_labelled(Recorder& enclosing, std::size_t start, ExpectedPattern label) noexcept {
    record_.relabel_if_at(start, label);
    enclosing.merge(record_);
    record_ = enclosing;
  }

  std::string_view text_;
  Build build_;
  std::size_t pos_ = 0;
  [[no_unique_address]] Recorder record_;
};

// The rules a semantic version and a dot-separated list run through are
// inline, so a plain release parses without calls.

template <class Recorder>
inline bool Scanner<Recorder>::literal(char c, ExpectedPattern p) noexcept {
  if (at_byte(c)) {
    ++pos_;
    return true;
  }
  record_.record(pos_, p);
  return false;
}

template <class Recorder>
inline bool Scanner<Recorder>::end_of_input() noexcept {
  if (pos_ == text_.size()) return true;
  record_.record(pos_, ExpectedPattern::EndOfInput);
  return false;
}

template <class Recorder>
inline bool Scanner<Recorder>::integer(std::uint32_t& out) noexcept {
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
    return false;
  }
  if (value > max) {
    record_.record_large_number(start, pos_);
    pos_ = start;
    return false;
  }
  // The rule's own record holds only the digit test that stopped it, so
  // merging that record comes down to recording one pattern.
  record_.record(pos_, ExpectedPattern::Digit);
  out = static_cast<std::uint32_t>(value);
  return true;
}

template <class Recorder>
inline bool Scanner<Recorder>::numbers(SemVer& out) noexcept {
  const std::size_t start = pos_;
  if (integer(out.major) && literal('.', ExpectedPattern::TokenDot) && integer(out.minor) &&
      literal('.', ExpectedPattern::TokenDot) && integer(out.patch))
    return true;
  pos_ = start;
  return false;
}

template <class Recorder>
inline bool Scanner<Recorder>::semver_pieces(SemVer& release, OptionalJoinedParts& rc,
                                             OptionalJoinedParts& meta) noexcept {
  const std::size_t start = pos_;
  literal('v', ExpectedPattern::TokenV);
  if (!numbers(release)) {
    pos_ = start;
    return false;
  }
  if (literal('-', ExpectedPattern::TokenHyphen)) rc = measure_list();
  if (literal('+', ExpectedPattern::TokenPlus)) meta = measure_list();
  if (!end_of_input()) {
    pos_ = start;
    return false;
  }
  return true;
}

template <class Recorder>
inline bool Scanner<Recorder>::semver_text(SemVer& out) {
  OptionalJoinedParts rc;
  OptionalJoinedParts meta;
  if (!semver_pieces(out, rc, meta)) return false;
  if (build_ == Build::values && (rc || meta)) out.set_joined_lists(rc, meta);
  return true;
}

template <class Recorder>
inline std::size_t Scanner<Recorder>::part_end(std::size_t from) noexcept {
  std::size_t end = from;
  while (end < text_.size() && has_class(text_[end], kPartChar)) ++end;
  record_.record(end, ExpectedPattern::PartChar);
  return end;
}

template <class Recorder>
inline JoinedParts Scanner<Recorder>::measure_list() noexcept {
  const std::size_t start = pos_;
  Recorder enclosing = begin_labelled();
  // Only where the list ends and how many parts it has: the parts are taken
  // once the whole text is known to match, and only if a value is asked for.
  std::size_t count = 0;
  std::size_t end = part_end(pos_);
  if (end != pos_) {
    count = 1;
    pos_ = end;
    while (true) {
      if (!at_byte('.')) {
        record_.record(pos_, ExpectedPattern::TokenDot);
        break;
      }
      end = part_end(pos_ + 1);
      // No part after the '.': it is left for whatever follows the list.
      if (end == pos_ + 1) break;
      ++count;
      pos_ = end;
    }
  }
  end_labelled(enclosing, start, ExpectedPattern::DotList);
  return {taken_since(start), count};
}

template <class Recorder>
inline std::optional<JoinedParts> Scanner<Recorder>::joined_dot_list() noexcept {
  const std::size_t start = pos_;
  const JoinedParts list = measure_list();
  if (!end_of_input()) {
    pos_ = start;
    return std::nullopt;
  }
  return list;
}

template <class Recorder>
inline std::optional<TextList> Scanner<Recorder>::dot_list() {
  const std::optional<JoinedParts> list = joined_dot_list();
  if (!list) return std::nullopt;
  if (build_ == Build::nothing) return TextList{};
  return split_parts(*list);
}

// The identifier rules, which read Unicode, live in scanner.cpp.
extern template class Scanner<NoRecord>;
extern template class Scanner<FailureRecord>;

}  // namespace tolva::grammar::detail
