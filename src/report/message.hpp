#pragma once

#include <string>

namespace tolva::report {

// The rendered bytes as a message text, or "Invalid UTF-8 string: " and a
// description of the first ill-formed sequence when they are not UTF-8.
std::string message_from_bytes(std::string bytes);

}  // namespace tolva::report
