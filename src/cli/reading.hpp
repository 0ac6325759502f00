#pragma once

#include <expected>
#include <string>
#include <string_view>

#include "kind.hpp"
#include "tolva/grammar/parse_error.hpp"
#include "tolva/values/part_order.hpp"
#include "tolva/values/version.hpp"

namespace tolva::cli {

// The commands that read many lines take the grammar's error as it is and draw
// a report (or a short line, or JSON) only for a line that needs one, so an
// accepted line costs no more than its reading.

// The value of `text` read as the kind, or the error.
std::expected<Version, grammar::ParseError> read_as(Kind kind, std::string_view text);

// Whether `text` reads as the kind; nothing of it is built.
std::expected<void, grammar::ParseError> check_as(Kind kind, std::string_view text);

// Appends the order key of `text` read as the kind, in part order `parts`;
// nothing of the value is built.
std::expected<void, grammar::ParseError> append_key_as(std::string& out, Kind kind,
                                                       std::string_view text, PartOrder parts);

}  // namespace tolva::cli
