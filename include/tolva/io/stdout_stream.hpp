#pragma once

#include <expected>
#include <mutex>
#include <string_view>
#include <system_error>

namespace tolva::io {

// The process-wide lock that keeps the library's lines and log blocks whole on
// descriptor 1. Re-entrant, so a writer may record while it holds it.
std::recursive_mutex& stdout_lock() noexcept;

// Writes all of `bytes` to descriptor 1 under stdout_lock(), retrying short
// writes and EINTR. Bypasses any buffering of the host language.
std::expected<void, std::error_code> write_stdout(std::string_view bytes);

}  // namespace tolva::io
