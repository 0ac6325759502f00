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

// Called with its `context`, with the stream held, when a write call was
// interrupted or took only part of the bytes, either of which can mean a
// signal arrived, and every few milliseconds while the writer waits for
// another thread to let the stream go: true goes on, false gives the write
// up. It may instead end the thread by a forced unwind (pthread_exit), which
// passes through the writer and lets the stream go.
using SignalCheck = bool (*)(void* context);

// write_stdout, given up when `check` says so: the write fails with
// errc::interrupted, and what was written stays written; given up while
// waiting for the stream, nothing is. While `check` runs with part of a block
// out, a write from the same thread fails with
// errc::resource_deadlock_would_occur instead of landing inside it.
[[nodiscard]] std::expected<void, std::error_code> write_stdout(std::string_view bytes,
                                                                SignalCheck check, void* context);

}  // namespace tolva::io
