#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "tolva/grammar/parse_error.hpp"

namespace tolva::cli {

// A rejected line, as the commands that read lines tell of it.
struct Rejection {
  std::string_view file;  // as reports show it; in JSON, the name itself
  std::size_t line;       // from 1
  std::string_view text;
  const grammar::ParseError& error;
};

// The column the report's header shows for the error: from 1, in characters.
std::size_t column_of(const grammar::ParseError& error, std::string_view text);

// The full report, as the parsers draw it.
std::string full_report(const Rejection& rejected, bool colour);

// "FILE:LINE:COL: found X expected Y" and a line feed: the label of the full
// report after the place it points at, the form editors and CI read.
void append_short(std::string& out, const Rejection& rejected);

// The members of one JSON object for the error of a rejected text: the column
// the report points at, and what was found and expected in the report's words,
// a character found being itself, never its stand-in.
void append_json_error_fields(std::string& out, const grammar::ParseError& error,
                              std::string_view text);

// One JSON object and a line feed: file, line, column, found, expected, text.
void append_json(std::string& out, const Rejection& rejected);

}  // namespace tolva::cli
