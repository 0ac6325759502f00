#include "output.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "text/write_all.hpp"

namespace tolva::cli {
namespace {

constexpr std::size_t buffer_size = 64 * 1024;
constexpr int closed_pipe_status = 128 + 13;

void (*write_failure_cleanup)() noexcept = nullptr;

}  // namespace

Output::Output(int fd, std::string_view name) : fd_(fd), name_(name) {
  buffer_.reserve(buffer_size);
}

void Output::write(std::string_view text) {
  // A text longer than the buffer goes out as it is, never copied.
  if (text.size() >= buffer_size) {
    flush();
    if (int error = write_all(fd_, text).error; error != 0) fail(error);
    return;
  }
  buffer_.append(text);
  write_if_full();
}

void Output::write_if_full() {
  if (buffer_.size() >= buffer_size) flush();
}

void Output::flush() {
  int error = write_all(fd_, buffer_).error;
  buffer_.clear();
  if (error != 0) fail(error);
}

void set_write_failure_cleanup(void (*cleanup)() noexcept) noexcept {
  write_failure_cleanup = cleanup;
}

void Output::fail(int error) const {
  if (write_failure_cleanup != nullptr) write_failure_cleanup();
  if (error != EPIPE && fd_ != 2) {
    std::string message = "tolva: cannot write to ";
    message.append(name_).append(": ").append(std::strerror(error)).append("\n");
    write_all(2, message);
  }
  std::_Exit(error == EPIPE ? closed_pipe_status : 2);
}

void Streams::report(std::string_view text) {
  out.flush();
  err.write(text);
  if (!text.ends_with('\n')) err.write("\n");
  err.flush();
}

void Streams::flush() {
  out.flush();
  err.flush();
}

}  // namespace tolva::cli
