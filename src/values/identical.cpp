#include "tolva/values/identical.hpp"

#include <algorithm>

namespace tolva {

bool identical(const SemVer& a, const SemVer& b) noexcept {
  if (!(a == b)) return false;
  const OptionalTextSpan a_meta = a.meta();
  const OptionalTextSpan b_meta = b.meta();
  if (!a_meta || !b_meta) return a_meta.has_value() == b_meta.has_value();
  return std::ranges::equal(*a_meta, *b_meta);
}

bool identical(const DotSeparated& a, const DotSeparated& b) noexcept { return a == b; }

bool identical(const Other& a, const Other& b) noexcept { return a == b; }

bool identical(const Version& a, const Version& b) noexcept {
  if (a.value.index() != b.value.index()) return false;
  if (const auto* semver = a.get_if<SemVer>()) return identical(*semver, *b.get_if<SemVer>());
  return a == b;
}

}  // namespace tolva
