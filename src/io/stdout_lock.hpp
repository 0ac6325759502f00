#pragma once

#include <mutex>

#include "tolva/io/stdout_stream.hpp"

namespace tolva::io {

// The process-wide lock that write_stdout holds for each write. Re-entrant, so
// a writer may record while it holds it.
std::recursive_timed_mutex& stdout_lock() noexcept;

}  // namespace tolva::io
