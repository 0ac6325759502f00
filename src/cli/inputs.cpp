#include "inputs.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <expected>
#include <string>

#include "shown_name.hpp"

namespace tolva::cli {
namespace {

// Opens `name` for reading: the descriptor, or the error.
std::expected<int, std::error_code> open_for_reading(std::string_view name) {
  std::string path(name);  // a view promises no terminating NUL
  int fd = 0;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return std::unexpected(std::error_code(errno, std::generic_category()));
  return fd;
}

// Closes the descriptor it was given when it goes.
struct OpenFile {
  int fd;
  explicit OpenFile(int opened) noexcept : fd(opened) {}
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  ~OpenFile() { ::close(fd); }
};

void report_unreadable(Streams& io, std::string_view name, const std::error_code& error) {
  std::string message = "tolva: cannot read ";
  message.append(name).append(": ").append(error.message()).append("\n");
  io.report(message);
}

}  // namespace

ExitStatus for_each_input(
    std::span<const std::string_view> names, Streams& io,
    const std::function<std::error_code(int fd, std::string_view shown)>& read) {
  static constexpr std::string_view standard_input[] = {"-"};
  if (names.empty()) names = standard_input;
  ExitStatus status = ExitStatus::ok;
  for (std::string_view name : names) {
    bool is_stdin = name == "-";
    std::string shown = is_stdin ? std::string(standard_input_name) : shown_name(name);
    std::error_code error;
    if (is_stdin) {
      error = read(STDIN_FILENO, shown);
    } else if (auto fd = open_for_reading(name); !fd) {
      error = fd.error();
    } else {
      OpenFile file{*fd};
      error = read(file.fd, shown);
    }
    if (error) {
      report_unreadable(io, shown, error);
      status = worse(status, ExitStatus::trouble);
    }
  }
  return status;
}

}  // namespace tolva::cli
