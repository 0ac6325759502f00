#pragma once

#include <span>
#include <string>
#include <string_view>

#include "tolva/error.hpp"
#include "tolva/grammar/parse_error.hpp"

namespace tolva::report {

// "found 'x' expected digit, '-', '+', or end of input"
std::string label_text(const grammar::ParseError& error);

// Renders the report for a rejected `text` (one label per error, colour as
// decided for standard error) and returns it as the error's message.
Error build_parse_report(std::string_view text, std::span<const grammar::ParseError> errors,
                         std::string_view type_path);

}  // namespace tolva::report
