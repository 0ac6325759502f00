#pragma once

#include <string>
#include <string_view>

#include "tolva/grammar/parse_error.hpp"

namespace tolva::report {

// What a report's label says was found in `source`: "'x'", "end of input",
// "invalid UTF-8 \xff" or the digits of a number too large, in the words the
// label and every short form of it share.
std::string found_text(const grammar::ParseError& error, std::string_view source);

}  // namespace tolva::report
