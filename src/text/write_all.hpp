#pragma once

#include <cstddef>
#include <string_view>

namespace tolva {

// What a write_all did: the bytes written and 0, or those before the failure
// and its errno.
struct WriteOutcome {
  std::size_t written = 0;
  int error = 0;
};

// Writes all of `bytes` to descriptor `fd`, retrying short writes and EINTR.
WriteOutcome write_all(int fd, std::string_view bytes) noexcept;

// The same, and between two attempts (after a short or interrupted write)
// asks `go_on(written so far)`; false stops the writing with EINTR. Not
// noexcept: `go_on` may end the thread by a forced unwind, which passes.
using GoOn = bool (*)(void* context, std::size_t written);
WriteOutcome write_all(int fd, std::string_view bytes, GoOn go_on, void* context);

}  // namespace tolva
