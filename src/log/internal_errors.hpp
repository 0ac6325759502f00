#pragma once

#include <string>
#include <string_view>
#include <system_error>

namespace tolva::log {

// Writes all of `text` to descriptor 2; a failure there is dropped, since
// there is nowhere left to report it.
void write_stderr(std::string_view text) noexcept;

// Appends the system's description of `error` and its number, as
// "Bad file descriptor (os error 9)".
void append_error_description(std::string& out, std::error_code error);

}  // namespace tolva::log
