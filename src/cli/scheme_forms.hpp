#pragma once

#include <string>
#include <string_view>

#include "tolva/scheme/scheme.hpp"

namespace tolva::cli {

// The parts of a text that a scheme other than tolva's reads, for parse: as
// the members of a JSON object ("scheme" and the scheme's parts: semver's
// major, minor, patch, prerelease and build; natural's runs and their kinds;
// debian's epoch, upstream and revision), or as one line that names them.
// The text must read under the scheme.
void append_scheme_json_fields(std::string& out, Scheme s, std::string_view text);
void append_scheme_debug_form(std::string& out, Scheme s, std::string_view text);

}  // namespace tolva::cli
