#include "stdout_lock.hpp"

#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "text/write_all.hpp"

namespace tolva::io {
namespace {

// How often a writer that waits for the stream runs its check: a signal that
// arrives meanwhile interrupts no call of the waiter's, so only polling sees it.
constexpr std::chrono::milliseconds check_interval{20};

// Set, under the lock, when a write stopped part-way through a line.
bool line_cut = false;
// This thread runs a signal check with part of a block out.
thread_local bool block_open = false;

struct Check {
  SignalCheck call;
  void* context;
  bool operator()() const { return call(context); }
};

std::expected<void, std::error_code> write_out(std::string_view bytes, Check check) {
  // The check runs with the lock held; a write it makes from this thread
  // while part of a block is out would cut that block.
  const GoOn go_on = [](void* context, std::size_t written) {
    block_open = written > 0;
    const bool going = (*static_cast<Check*>(context))();
    block_open = false;
    return going;
  };
  const WriteOutcome outcome =
      write_all(STDOUT_FILENO, bytes, check.call ? go_on : nullptr, &check);
  if (outcome.error == 0) return {};
  if (outcome.written > 0 && bytes[outcome.written - 1] != '\n') line_cut = true;
  // EINTR is never a failure of the write itself (it is retried): the check stopped it.
  if (outcome.error == EINTR) return std::unexpected(std::make_error_code(std::errc::interrupted));
  return std::unexpected(std::error_code(outcome.error, std::system_category()));
}

// Takes the stream into `guard`, running `check` while another thread holds it;
// false when the check gave the wait up.
bool take_stream(std::unique_lock<std::recursive_timed_mutex>& guard, Check check) {
  if (check.call == nullptr) {
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
  return write_stdout(bytes, nullptr, nullptr);
}

std::expected<void, std::error_code> write_stdout(std::string_view bytes, SignalCheck call,
                                                  void* context) {
  const Check check{call, context};
  std::unique_lock guard(stdout_lock(), std::defer_lock);
  if (!take_stream(guard, check))
    return std::unexpected(std::make_error_code(std::errc::interrupted));
  if (block_open)
    return std::unexpected(std::make_error_code(std::errc::resource_deadlock_would_occur));
  if (line_cut) {
    if (auto ended = write_out("\n", check); !ended) return ended;
    line_cut = false;
  }
  return write_out(bytes, check);
}

}  // namespace tolva::io
