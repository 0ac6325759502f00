#pragma once

#include <cstdint>
#include <optional>
#include <utility>

#include "tolva/values/version.hpp"

namespace tolva::testing {

inline SemVer semver(std::uint32_t major, std::uint32_t minor, std::uint32_t patch,
                     std::optional<TextList> rc = std::nullopt,
                     std::optional<TextList> meta = std::nullopt) {
  return SemVer{major, minor, patch, std::move(rc), std::move(meta)};
}

inline Version version(SemVer v) { return Version{std::move(v)}; }
inline Version version(DotSeparated v) { return Version{std::move(v)}; }
inline Version version(Other v) { return Version{std::move(v)}; }

}  // namespace tolva::testing
