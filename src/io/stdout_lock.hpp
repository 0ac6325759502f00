#pragma once

#include <expected>
#include <mutex>
#include <string_view>
#include <system_error>

#include "tolva/io/stdout_stream.hpp"

namespace tolva::io {

// The process-wide lock that write_stdout holds for each write. Re-entrant, so
// a writer may record while it holds it.
std::recursive_timed_mutex& stdout_lock() noexcept;

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
