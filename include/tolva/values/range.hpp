#pragma once

#include <cstdint>

#include "tolva/values/part_order.hpp"
#include "tolva/values/version.hpp"

namespace tolva {

enum class RangeOp : std::uint8_t {
  less,
  less_equal,
  greater,
  greater_equal,
  equal,
  not_equal,
  outside,  // below `operand`, or at or above `upper`
};

// One test of a version against an operand. It holds only for a version of
// the operand's kind (for `outside`, of the kind of both), compared in the
// range's part order.
struct Comparator {
  RangeOp op = RangeOp::equal;
  Version operand;
  Version upper;  // for `outside` only
  // Whether the operand was written as a pre-release, which lets pre-releases
  // of its major.minor.patch satisfy the alternative. The bounds a range
  // makes up (of `^`, `~`, wildcards) never do.
  bool names_prerelease = false;
};

// Alternatives of comparators that must all hold; a version is in the range
// when any alternative holds for it. A range with no alternative is empty.
struct Range {
  List<List<Comparator>> alternatives;
};

struct RangeOptions {
  // Whether a pre-release SemVer may satisfy an alternative none of whose
  // comparators names a pre-release of its major.minor.patch.
  bool include_prerelease = false;
  PartOrder parts = PartOrder::text;
};

[[nodiscard]] bool satisfies(const Version& v, const Comparator& c, PartOrder parts) noexcept;

// Whether `v` is in the range. A pre-release SemVer satisfies an alternative
// only when some comparator of it names a pre-release with the same
// major.minor.patch, unless the options include pre-releases.
[[nodiscard]] bool contains(const Range& range, const Version& v,
                            const RangeOptions& options = {}) noexcept;

}  // namespace tolva
