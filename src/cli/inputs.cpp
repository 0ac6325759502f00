#include "inputs.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "shown_name.hpp"

namespace tolva::cli {
namespace {

// Opens `name` for reading: the descriptor, or the negated errno.
int open_for_reading(std::string_view name) {
  std::string path(name);  // a view promises no terminating NUL
  int fd = 0;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  return fd < 0 ? -errno : fd;
}

// Closes the descriptor it was given when it goes.
struct OpenFile {
  int fd;
  explicit OpenFile(int opened) noexcept : fd(opened) {}
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  ~OpenFile() { ::close(fd); }
};

void report_unreadable(Streams& io, std::string_view name, int error) {
  std::string message = "tolva: cannot read ";
  message.append(name).append(": ").append(std::strerror(error)).append("\n");
  io.report(message);
}

}  // namespace

ExitStatus for_each_input(std::span<const std::string_view> names, Streams& io,
                          const std::function<int(int fd, std::string_view shown)>& read) {
  static constexpr std::string_view standard_input[] = {"-"};
  if (names.empty()) names = standard_input;
  ExitStatus status = ExitStatus::ok;
  for (std::string_view name : names) {
    bool is_stdin = name == "-";
    std::string shown = is_stdin ? std::string(standard_input_name) : shown_name(name);
    int error = 0;
    if (is_stdin) {
      error = read(STDIN_FILENO, shown);
    } else if (int fd = open_for_reading(name); fd < 0) {
      error = -fd;
    } else {
      OpenFile file{fd};
      error = read(file.fd, shown);
    }
    if (error != 0) {
      report_unreadable(io, shown, error);
      status = worse(status, ExitStatus::trouble);
    }
  }
  return status;
}

}  // namespace tolva::cli
