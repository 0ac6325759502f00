#pragma once

#include <string_view>

#include "tolva/values/version.hpp"

// The names under which the module's reports, and the tool's reports of a
// text with no source of its own, identify what was read: the path of the
// class the text was read as.
namespace tolva::report {

template <class K>
inline constexpr std::string_view type_path = "tolva::package::version::Version";
template <>
inline constexpr std::string_view type_path<SemVer> = "tolva::package::version::semver::SemVer";
template <>
inline constexpr std::string_view type_path<DotSeparated> =
    "tolva::package::version::dot_separated::DotSeparated";
template <>
inline constexpr std::string_view type_path<Other> = "tolva::package::version::other::Other";

}  // namespace tolva::report
