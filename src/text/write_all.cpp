#include "write_all.hpp"

#include <unistd.h>

#include <cerrno>

namespace tolva {

WriteOutcome write_all(int fd, std::string_view bytes) noexcept {
  return write_all(fd, bytes, nullptr, nullptr);
}

WriteOutcome write_all(int fd, std::string_view bytes, GoOn go_on, void* context) {
  WriteOutcome outcome;
  while (outcome.written < bytes.size()) {
    const ssize_t written =
        ::write(fd, bytes.data() + outcome.written, bytes.size() - outcome.written);
    if (written < 0 && errno != EINTR) {
      outcome.error = errno;
      break;
    }
    if (written > 0) outcome.written += static_cast<std::size_t>(written);
    if (go_on == nullptr || outcome.written == bytes.size()) continue;
    if (!go_on(context, outcome.written)) {
      outcome.error = EINTR;
      break;
    }
  }
  return outcome;
}

}  // namespace tolva
