#include "machine.hpp"

#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

namespace tolva::cli::sort {

std::size_t physical_memory() noexcept {
  long pages = ::sysconf(_SC_PHYS_PAGES);
  long page_size = ::sysconf(_SC_PAGESIZE);
  if (pages <= 0 || page_size <= 0) return 0;
  return static_cast<std::size_t>(pages) * static_cast<std::size_t>(page_size);
}

unsigned usable_processors() noexcept {
  cpu_set_t set;
  if (::sched_getaffinity(0, sizeof set, &set) == 0) {
    int count = CPU_COUNT(&set);
    if (count > 0) return static_cast<unsigned>(count);
  }
  return std::max(1u, std::thread::hardware_concurrency());
}

std::size_t default_buffer_size() noexcept {
  constexpr std::size_t cap = std::size_t{1} << 30;
  std::size_t physical = physical_memory();
  return physical == 0 ? cap / 8 : std::min(physical / 8, cap);
}

}  // namespace tolva::cli::sort
