#pragma once

#include <compare>
#include <cstdint>

#include "tolva/values/version.hpp"

namespace tolva::cli {

// The first sixteen bytes of a byte string that orders as the versions do,
// held as two big-endian numbers: when the prefixes of two versions differ,
// they order the two versions with no need to look at the values; equal
// prefixes decide nothing. Holds for every value the grammar reads (a part
// never holds a NUL byte).
//
// The byte string: the kind's rank; for a SemVer its three numbers (below
// 0xF0 as one byte, others as 0xF0 plus their byte count and then their
// big-endian bytes), then 0xFF for an absent rc or each rc part behind a
// 0x01; for a DotSeparated the parts joined by NUL; for an Other its bytes.
// A string that is a prefix of a longer one orders first, as zero padding
// gives. No two values' strings differ only in trailing zeros, so when both
// strings fit whole, equal prefixes mean equal versions.
struct SortPrefix {
  std::uint64_t high = 0;
  std::uint64_t low = 0;
  bool whole = true;  // the string fits in the sixteen bytes

  // Orders by the bytes alone.
  friend std::strong_ordering operator<=>(const SortPrefix& a, const SortPrefix& b) noexcept {
    if (a.high != b.high) return a.high <=> b.high;
    return a.low <=> b.low;
  }
  friend bool operator==(const SortPrefix& a, const SortPrefix& b) noexcept {
    return a.high == b.high && a.low == b.low;
  }
};

SortPrefix sort_prefix(const Version& v) noexcept;

}  // namespace tolva::cli
