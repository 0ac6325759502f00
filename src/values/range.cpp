#include "tolva/values/range.hpp"

#include <algorithm>

namespace tolva {
namespace {

bool same_release(const SemVer& a, const SemVer& b) noexcept {
  return a.major == b.major && a.minor == b.minor && a.patch == b.patch;
}

// Whether a comparator of the alternative lets this pre-release in.
bool admits_prerelease(const List<Comparator>& alternative, const SemVer& v) noexcept {
  return std::ranges::any_of(alternative, [&](const Comparator& c) {
    const auto* named = c.operand.get_if<SemVer>();
    return c.names_prerelease && named != nullptr && same_release(*named, v);
  });
}

}  // namespace

bool satisfies(const Version& v, const Comparator& c, PartOrder parts) noexcept {
  if (v.kind() != c.operand.kind()) return false;
  const std::weak_ordering order = compare(v, c.operand, parts);
  switch (c.op) {
    case RangeOp::less: return order < 0;
    case RangeOp::less_equal: return order <= 0;
    case RangeOp::greater: return order > 0;
    case RangeOp::greater_equal: return order >= 0;
    case RangeOp::equal: return order == 0;
    case RangeOp::not_equal: return order != 0;
    case RangeOp::outside: break;
  }
  return v.kind() == c.upper.kind() && (order < 0 || compare(v, c.upper, parts) >= 0);
}

bool contains(const Range& range, const Version& v, const RangeOptions& options) noexcept {
  const auto* semver = v.get_if<SemVer>();
  const bool held_back = semver != nullptr && semver->rc() && !options.include_prerelease;
  return std::ranges::any_of(range.alternatives, [&](const List<Comparator>& alternative) {
    const bool all = std::ranges::all_of(
        alternative, [&](const Comparator& c) { return satisfies(v, c, options.parts); });
    return all && (!held_back || admits_prerelease(alternative, *semver));
  });
}

}  // namespace tolva
