#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

#include "char_classes.hpp"
#include "split_parts.hpp"
#include "tolva/values/semver.hpp"
#include "tolva/values/text_list.hpp"

// A reading of the whole text that keeps no failure record, for the shapes
// nearly every text has: a semantic version and a plain dot-separated list.
// It follows the same rules as the Scanner, so it accepts a text exactly when
// that reading accepts the whole of it, with the same value. When it declines,
// the caller runs the Scanner from the start, which then finds the failure
// (or the later alternative) itself; no error ever comes from here.
namespace tolva::grammar::detail {

class FastLane {
 public:
  explicit FastLane(std::string_view text) noexcept
      : at_(text.data()), end_(text.data() + text.size()) {}

  // Optional 'v', three numbers, optional '-' list, optional '+' list, and
  // then the end of the text, read into `out` (left partly set on false).
  // The lists are taken only once the whole text is known to match.
  [[gnu::always_inline]] bool semver(SemVer& out) {
    if (at_ != end_ && *at_ == 'v') ++at_;
    if (!number(out.major) || !dot() || !number(out.minor) || !dot() || !number(out.patch))
      return false;
    const Measured rc = optional_list('-');
    const Measured meta = optional_list('+');
    if (at_ != end_) return false;
    if (rc.present || meta.present) out.set_lists(rc.parts(), meta.parts());
    return true;
  }

  // A dot-separated list that runs to the end of the text.
  bool dot_list(TextList& out) {
    const Measured list = measure_list();
    if (at_ != end_) return false;
    out = split_parts(list.text, list.count);
    return true;
  }

 private:
  bool dot() noexcept {
    if (at_ == end_ || *at_ != '.') return false;
    ++at_;
    return true;
  }

  // Digits up to the first non-digit; fails on none and past 32 bits, where
  // the number is still read whole, as the Scanner reads it.
  bool number(std::uint32_t& out) noexcept {
    constexpr std::uint64_t max = std::numeric_limits<std::uint32_t>::max();
    const char* const start = at_;
    std::uint64_t value = 0;
    while (at_ != end_ && has_class(*at_, kDigit)) {
      if (value <= max) value = value * 10 + static_cast<unsigned>(*at_ - '0');
      ++at_;
    }
    out = static_cast<std::uint32_t>(value);
    return at_ != start && value <= max;
  }

  const char* part_end(const char* from) const noexcept {
    while (from != end_ && has_class(*from, kPartChar)) ++from;
    return from;
  }

  // Where a list lies in the text and how many parts it has.
  struct Measured {
    bool present = false;
    std::string_view text;
    std::size_t count = 0;

    OptionalTextList parts() const {
      if (!present) return std::nullopt;
      return split_parts(text, count);
    }
  };

  // Parts joined by single dots; a dot with no part after it is left unread.
  Measured measure_list() noexcept {
    const char* const start = at_;
    std::size_t count = 0;
    const char* end = part_end(at_);
    if (end != at_) {
      count = 1;
      at_ = end;
      while (at_ != end_ && *at_ == '.') {
        end = part_end(at_ + 1);
        if (end == at_ + 1) break;
        ++count;
        at_ = end;
      }
    }
    return {true, std::string_view(start, static_cast<std::size_t>(at_ - start)), count};
  }

  // The list after `sign`, absent when the sign is not there.
  Measured optional_list(char sign) noexcept {
    if (at_ == end_ || *at_ != sign) return {};
    ++at_;
    return measure_list();
  }

  const char* at_;
  const char* const end_;
};

}  // namespace tolva::grammar::detail
