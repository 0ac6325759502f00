#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "tolva/grammar/parse_error.hpp"

namespace tolva::grammar::detail {

// The furthest failure met so far: a position and the patterns expected there,
// in the order they were met. Fixed size, so recording never allocates; the
// ParseError is built from it only when a parse fails.
class FailureRecord {
 public:
  bool empty() const noexcept { return count_ == 0; }
  std::size_t position() const noexcept { return pos_; }
  std::span<const ExpectedPattern> expected() const noexcept { return {patterns_.data(), count_}; }

  // Enters a failed test at `at`: a further position replaces the record, an
  // earlier one is dropped, an equal one adds `p` unless already listed.
  void record(std::size_t at, ExpectedPattern p) noexcept {
    if (empty() || at > pos_) {
      pos_ = at;
      patterns_[0] = p;
      count_ = 1;
      number_end_ = 0;
    } else if (at == pos_) {
      add(p);
    }
  }

  // An integer rule that met digits from `start` to `end` worth more than the
  // 32-bit range: it fails where it started, and the report marks the number.
  void record_large_number(std::size_t start, std::size_t end) noexcept {
    record(start, ExpectedPattern::Integer);
    if (pos_ == start) number_end_ = end;
  }
  // Where the number above the range that stands at position() ends; 0 if none.
  std::size_t number_end() const noexcept { return number_end_; }

  // A labelled rule that failed where it started reports its label instead of
  // what failed inside it.
  void relabel_if_at(std::size_t start, ExpectedPattern label) noexcept {
    if (!empty() && pos_ == start) {
      patterns_[0] = label;
      count_ = 1;
    }
  }

  // Folds the record of a finished labelled rule into this one. At an equal
  // position the longer list leads (this one on a tie), then the other's
  // patterns not yet listed.
  void merge(const FailureRecord& inner) noexcept {
    if (inner.empty() || (!empty() && inner.pos_ < pos_)) return;
    if (empty() || inner.pos_ > pos_) {
      *this = inner;
      return;
    }
    number_end_ = std::max(number_end_, inner.number_end_);
    if (inner.count_ > count_) {
      FailureRecord shorter = *this;
      *this = inner;
      append_missing(shorter.expected());
    } else {
      append_missing(inner.expected());
    }
  }

 private:
  bool contains(ExpectedPattern p) const noexcept {
    const auto list = expected();
    return std::find(list.begin(), list.end(), p) != list.end();
  }
  void add(ExpectedPattern p) noexcept {
    if (!contains(p) && count_ < patterns_.size()) patterns_[count_++] = p;
  }
  void append_missing(std::span<const ExpectedPattern> list) noexcept {
    for (ExpectedPattern p : list) add(p);
  }

  // No reader offers more patterns at one place (the version grammar at
  // most five, a range's operators at most fourteen).
  std::array<ExpectedPattern, 16> patterns_{};
  std::size_t pos_ = 0;
  std::size_t number_end_ = 0;
  std::uint8_t count_ = 0;
};

// The ParseError for a non-empty record over `text`.
ParseError to_parse_error(std::string_view text, const FailureRecord& record);

}  // namespace tolva::grammar::detail
