#include "tolva/io/stdout_stream.hpp"

#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace tolva::io {
namespace {

// How often a writer that waits for the stream runs its check: a signal that
// arrives meanwhile interrupts no call of the waiter's, so only polling sees it.
constexpr std::chrono::milliseconds check_interval{20};

// Set, under the lock, when a write stopped part-way through a line.
bool line_cut = false;
// This thread runs a signal check with part of a block out.
thread_local bool block_open = false;

std::expected<void, std::error_code> write_all(std::string_view bytes, SignalCheck check) {
  std::size_t done = 0;
  std::error_code error;
  while (done < bytes.size()) {
    ssize_t written = ::write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno != EINTR) {
      error = std::error_code(errno, std::system_category());
      break;
    }
    if (written > 0) done += static_cast<std::size_t>(written);
    if (check == nullptr || done == bytes.size()) continue;
    block_open = done > 0;
    const bool go_on = check();
    block_open = false;
    if (!go_on) {
      error = std::make_error_code(std::errc::interrupted);
      break;
    }
  }
  if (!error) return {};
  if (done > 0 && bytes[done - 1] != '\n') line_cut = true;
  return std::unexpected(error);
}

// Takes the stream into `guard`, running `check` while another thread holds it;
// false when the check gave the wait up.
bool take_stream(std::unique_lock<std::recursive_timed_mutex>& guard, SignalCheck check) {
  if (check == nullptr) {
    guard.lock();
    return true;
  }
  while (!guard.try_lock_for(check_interval)) {
    if (!check()) return false;
  }
  return true;
}

}  // namespace

std::recursive_timed_mutex& stdout_lock() noexcept {
  static std::recursive_timed_mutex lock;
  return lock;
}

std::expected<void, std::error_code> write_stdout(std::string_view bytes) {
  return write_stdout(bytes, nullptr);
}

std::expected<void, std::error_code> write_stdout(std::string_view bytes, SignalCheck check) {
  std::unique_lock guard(stdout_lock(), std::defer_lock);
  if (!take_stream(guard, check))
    return std::unexpected(std::make_error_code(std::errc::interrupted));
  if (block_open)
    return std::unexpected(std::make_error_code(std::errc::resource_deadlock_would_occur));
  if (line_cut) {
    if (auto ended = write_all("\n", check); !ended) return ended;
    line_cut = false;
  }
  return write_all(bytes, check);
}

}  // namespace tolva::io
