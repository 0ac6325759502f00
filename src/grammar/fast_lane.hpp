#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

#include "build.hpp"
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
  explicit FastLane(std::string_view text, Build build = Build::values) noexcept
      : at_(text.data()), end_(text.data() + text.size()), build_(build) {}

  // Optional 'v', three numbers, optional '-' list, optional '+' list, and
  // then the end of the text, read into `out` (left partly set on false).
  // The lists are taken only once the whole text is known to match.
  [[gnu::always_inline]] bool semver(SemVer& out) {
    if (at_ != end_ && *at_ == 'v') ++at_;
    if (!number(out.major) || !dot() || !number(out.minor) || !dot() || !number(out.patch))
      return false;
    const OptionalJoinedParts rc = optional_list('-');
    const OptionalJoinedParts meta = optional_list('+');
    if (at_ != end_) return false;
    if (build_ == Build::values && (rc || meta)) out.set_joined_lists(rc, meta);
    return true;
  }

  // A dot-separated list that runs to the end of the text.
  bool dot_list(TextList& out) {
    const JoinedParts list = measure_list();
    if (at_ != end_) return false;
    if (build_ == Build::values) out = split_parts(list);
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

  // Parts joined by single dots; a dot with no part after it is left unread.
  JoinedParts measure_list() noexcept {
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
    return {std::string_view(start, static_cast<std::size_t>(at_ - start)), count};
  }

  // The list after `sign`, absent when the sign is not there.
  OptionalJoinedParts optional_list(char sign) noexcept {
    if (at_ == end_ || *at_ != sign) return {};
    ++at_;
    return measure_list();
  }

  const char* at_;
  const char* const end_;
  const Build build_;
};

}  // namespace tolva::grammar::detail
