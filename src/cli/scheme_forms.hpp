#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tolva/scheme/order.hpp"

namespace tolva::cli {

// The fields of a version read under a scheme other than tolva's, for
// parse: as the members of a JSON object ("scheme", then the fields), or as
// one line that names them.
void append_scheme_json_fields(std::string& out, Scheme s, const std::vector<Field>& fields);
void append_scheme_debug_form(std::string& out, Scheme s, const std::vector<Field>& fields);

}  // namespace tolva::cli
