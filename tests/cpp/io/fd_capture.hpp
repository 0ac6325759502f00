#pragma once

#include <unistd.h>

#include <string>
#include <thread>

// Redirects a descriptor into a pipe for the life of the object; a reader
// thread drains the pipe so that writers never block on a full one.
class FdCapture {
 public:
  explicit FdCapture(int fd) : fd_(fd), saved_(::dup(fd)) {
    int ends[2];
    if (::pipe(ends) != 0) return;
    ::dup2(ends[1], fd_);
    ::close(ends[1]);
    reader_ = std::thread([this, read_end = ends[0]] {
      char chunk[65536];
      ssize_t n;
      while ((n = ::read(read_end, chunk, sizeof chunk)) > 0) text_.append(chunk, static_cast<std::size_t>(n));
      ::close(read_end);
    });
  }
  FdCapture(const FdCapture&) = delete;
  FdCapture& operator=(const FdCapture&) = delete;
  ~FdCapture() { finish(); }

  // Restores the descriptor and returns everything written meanwhile.
  const std::string& finish() {
    if (saved_ >= 0) {
      ::dup2(saved_, fd_);  // closes the last write end, so the reader sees the end
      ::close(saved_);
      saved_ = -1;
      if (reader_.joinable()) reader_.join();
    }
    return text_;
  }

 private:
  int fd_;
  int saved_;
  std::string text_;
  std::thread reader_;
};
