#pragma once

#include <string>
#include <string_view>

#include "tolva/grammar/parse_error.hpp"
#include "tolva/values/version.hpp"

namespace tolva::cli {

// A JSON string of any bytes, each character the one it is: control
// characters (C0, DEL and C1), format characters and the line and paragraph
// separators escaped as \uXXXX, never shown by a stand-in, so a script reads
// back the very name or text, and no terminal takes the output for a command.
// Each ill-formed UTF-8 sequence, which no JSON string can hold, is written
// as U+FFFD, as the reports show it.
void append_json_string(std::string& out, std::string_view bytes);

// The members of one JSON object for the value: its kind, named as `--kind`
// names it, and its fields, with parts as strings and an absent list as null.
void append_json_fields(std::string& out, const Version& v);

}  // namespace tolva::cli
