#pragma once

#include <cstdint>

namespace tolva::log {

// The calling thread's number: 1 for the first thread that asks, then up in
// order of first asking; never reused within the process.
std::uint64_t current_thread_number() noexcept;

}  // namespace tolva::log
