#include "output.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "failure.hpp"
#include "text/write_all.hpp"

namespace tolva::cli {
namespace {

constexpr std::size_t buffer_size = 64 * 1024;

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

void Output::fail(int error) const {
  std::string message;
  if (error != EPIPE && fd_ != 2) {
    message.append("cannot write to ").append(name_).append(": ").append(std::strerror(error));
  }
  throw Failure{error == EPIPE ? ExitStatus::closed_pipe : ExitStatus::trouble, std::move(message)};
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
