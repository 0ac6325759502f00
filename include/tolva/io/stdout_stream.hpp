#pragma once

#include <expected>
#include <string_view>
#include <system_error>

namespace tolva::io {

// Writes all of `bytes` to descriptor 1 under the library's one lock for it,
// retrying short writes and EINTR, so the library's lines and log blocks stay
// whole. Bypasses any buffering of the host language. A write that stopped
// part-way through a line leaves the next write to start a new line first, so
// one block never runs on into another.
[[nodiscard]] std::expected<void, std::error_code> write_stdout(std::string_view bytes);

}  // namespace tolva::io
