#include "internal_errors.hpp"

#include <unistd.h>

#include <cerrno>

#include "values/decimal.hpp"

namespace tolva::log {

void write_stderr(std::string_view text) noexcept {
  while (!text.empty()) {
    const ssize_t written = ::write(STDERR_FILENO, text.data(), text.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return;
    }
    text.remove_prefix(static_cast<std::size_t>(written));
  }
}

void append_error_description(std::string& out, std::error_code error) {
  out += error.message();
  out += " (os error ";
  append_decimal(out, error.value());
  out += ')';
}

}  // namespace tolva::log
