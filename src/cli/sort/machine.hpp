#pragma once

#include <cstddef>

namespace tolva::cli::sort {

// The machine's physical memory in bytes; 0 when unknown.
std::size_t physical_memory() noexcept;

// The processors this process may run on; at least 1.
unsigned usable_processors() noexcept;

// The buffer a sort uses without -S: an eighth of physical memory, at most
// 1 GiB, so that a large sort leaves the machine responsive.
std::size_t default_buffer_size() noexcept;

}  // namespace tolva::cli::sort
