#pragma once

#include "binding/py_ref.hpp"

#include <string_view>

#include "tolva/grammar/parse_error.hpp"

namespace tolva::binding {

// The names under which reports identify the source of each class's texts.
namespace type_path {
inline constexpr std::string_view version = "tolva::package::version::Version";
inline constexpr std::string_view semver = "tolva::package::version::semver::SemVer";
inline constexpr std::string_view dot_separated =
    "tolva::package::version::dot_separated::DotSeparated";
inline constexpr std::string_view other = "tolva::package::version::other::Other";
}  // namespace type_path

// A rejected version text: RuntimeError with the report for `error` over
// `text`, named `type_path`. The report is coloured when standard error takes
// colour (CLICOLOR, CLICOLOR_FORCE, NO_COLOR, TERM and whether descriptor 2
// is a terminal), decided at the first report and kept for the life of the
// process.
PyObject* raise_rejected_text(std::string_view text, const grammar::ParseError& error,
                              std::string_view type_path);

}  // namespace tolva::binding
