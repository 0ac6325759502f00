#pragma once

#include "tolva/values/version.hpp"

namespace tolva {

// Equal including what the order ignores: a SemVer's `meta`. `==` says two
// versions sort as one; `identical` says they print as one.
[[nodiscard]] bool identical(const SemVer& a, const SemVer& b) noexcept;
[[nodiscard]] bool identical(const DotSeparated& a, const DotSeparated& b) noexcept;
[[nodiscard]] bool identical(const Other& a, const Other& b) noexcept;
[[nodiscard]] bool identical(const Version& a, const Version& b) noexcept;

}  // namespace tolva
