#pragma once

#include <string>
#include <string_view>

namespace tolva::cli {

// A file name or an argument as messages and reports show it: on one line, in
// well-formed UTF-8, with stand-ins for what would drive the terminal.
std::string shown_name(std::string_view name);

// The shown name in single quotes, as messages quote an argument.
std::string quoted_name(std::string_view name);

}  // namespace tolva::cli
