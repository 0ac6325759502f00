#pragma once

#include <string>
#include <string_view>

namespace tolva::cli {

// A buffered writer on a file descriptor whose failures end the tool (a
// Failure): when the reader has gone away (a closed pipe, as with `| head`)
// quietly with status closed_pipe; any other write failure with a message and status 2, so lost
// output is never reported as success.
class Output {
 public:
  Output(int fd, std::string_view name);
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  // Appends to the buffer, writing it out once it is full; a text longer
  // than the buffer is written at once, after what is buffered.
  void write(std::string_view text);
  // Text appended here is written at the next write or flush.
  std::string& buffer() noexcept { return buffer_; }
  void write_if_full();
  void flush();

 private:
  [[noreturn]] void fail(int error) const;

  int fd_;
  std::string_view name_;
  std::string buffer_;
};

// Standard output and standard error. Writing to standard error first
// flushes standard output, so both keep their order when they share a file.
struct Streams {
  Output out{1, "standard output"};
  Output err{2, "standard error"};

  void report(std::string_view text);
  void flush();
};

}  // namespace tolva::cli
