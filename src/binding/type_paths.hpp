#pragma once

#include <string_view>

#include "tolva/values/version.hpp"

// The names under which the module's reports identify what was read: the
// path of the class the text was read as.
namespace tolva::binding {

template <class K>
inline constexpr std::string_view type_path = "tolva::package::version::Version";
template <>
inline constexpr std::string_view type_path<SemVer> = "tolva::package::version::semver::SemVer";
template <>
inline constexpr std::string_view type_path<DotSeparated> =
    "tolva::package::version::dot_separated::DotSeparated";
template <>
inline constexpr std::string_view type_path<Other> = "tolva::package::version::other::Other";

}  // namespace tolva::binding
