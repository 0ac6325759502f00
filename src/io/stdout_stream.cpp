#include "tolva/io/stdout_stream.hpp"

#include <unistd.h>

#include <cerrno>

namespace tolva::io {

std::recursive_mutex& stdout_lock() noexcept {
  static std::recursive_mutex lock;
  return lock;
}

std::expected<void, std::error_code> write_stdout(std::string_view bytes) {
  std::lock_guard guard(stdout_lock());
  while (!bytes.empty()) {
    ssize_t written = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return std::unexpected(std::error_code(errno, std::system_category()));
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return {};
}

}  // namespace tolva::io
