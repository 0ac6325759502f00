#pragma once

#include <expected>
#include <string_view>

#include "tolva/grammar/parse_error.hpp"
#include "tolva/values/version.hpp"

// A second reading of the version grammar, written for clarity rather than
// speed: every rule is its own function, every labelled rule keeps its own
// failure record that is merged when the rule ends, and nothing is folded
// together. The fuzz targets compare the real readers against it, value for
// value and error for error, expected list order included.
namespace tolva::fuzz::reference {

std::expected<Version, grammar::ParseError> read_version(std::string_view text);
std::expected<SemVer, grammar::ParseError> read_semver(std::string_view text);
std::expected<DotSeparated, grammar::ParseError> read_dot_separated(std::string_view text);
std::expected<Other, grammar::ParseError> read_other(std::string_view text);

}  // namespace tolva::fuzz::reference
