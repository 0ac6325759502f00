#pragma once

#include <string>

#include "tolva/values/version.hpp"

namespace tolva::cli {

// One JSON object for the value: its kind, named as `--kind` names it, and
// its fields, with parts as strings and an absent list as null.
void append_json(std::string& out, const Version& v);

}  // namespace tolva::cli
