#pragma once

#include <cstddef>
#include <functional>

#include "tolva/values/version.hpp"

// Hashes consistent with `==`: values that are equal hash alike, so a SemVer's
// `meta` takes no part.
template <>
struct std::hash<tolva::SemVer> {
  [[nodiscard]] std::size_t operator()(const tolva::SemVer& v) const noexcept;
};
template <>
struct std::hash<tolva::DotSeparated> {
  [[nodiscard]] std::size_t operator()(const tolva::DotSeparated& v) const noexcept;
};
template <>
struct std::hash<tolva::Other> {
  [[nodiscard]] std::size_t operator()(const tolva::Other& v) const noexcept;
};
template <>
struct std::hash<tolva::Version> {
  [[nodiscard]] std::size_t operator()(const tolva::Version& v) const noexcept;
};
