#pragma once

#include <string>
#include <string_view>

#include "tolva/grammar/parse_error.hpp"
#include "tolva/values/version.hpp"

namespace tolva::cli {

// A JSON string of any bytes: control characters (C0, DEL and C1) escaped as
// \u00XX, and each ill-formed UTF-8 sequence written as U+FFFD, as the
// reports show it, so the output is always valid JSON that no terminal takes
// for a command.
void append_json_string(std::string& out, std::string_view bytes);

// The members of one JSON object for the value: its kind, named as `--kind`
// names it, and its fields, with parts as strings and an absent list as null.
void append_json_fields(std::string& out, const Version& v);

// The members of one JSON object for the error of a rejected text: the column
// the report points at, and what was found and expected in the report's words.
void append_json_error_fields(std::string& out, const grammar::ParseError& error,
                              std::string_view text);

}  // namespace tolva::cli
