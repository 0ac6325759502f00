#include "lines.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tolva::cli {
namespace {

constexpr std::size_t chunk_size = LineReader::default_chunk;

std::string_view without_carriage_return(std::string_view line) noexcept {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

// read(2) that retries when interrupted: the bytes read or an errno.
std::expected<std::size_t, int> read_some(int fd, char* into, std::size_t size) noexcept {
  for (;;) {
    ssize_t got = ::read(fd, into, size);
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno != EINTR) return std::unexpected(errno);
  }
}

}  // namespace

std::string_view take_line(std::string_view& rest) noexcept {
  const void* feed = std::memchr(rest.data(), '\n', rest.size());
  if (feed == nullptr) {
    std::string_view line = rest;
    rest = {};
    return line;
  }
  std::size_t length = static_cast<std::size_t>(static_cast<const char*>(feed) - rest.data());
  std::string_view line = rest.substr(0, length);
  rest.remove_prefix(length + 1);
  return without_carriage_return(line);
}

LineReader::LineReader(int fd, std::size_t chunk) : fd_(fd), chunk_(chunk), buffer_(chunk, '\0') {}

std::expected<std::optional<std::string_view>, int> LineReader::next() {
  std::size_t searched = start_;
  for (;;) {
    const void* feed = std::memchr(buffer_.data() + searched, '\n', end_ - searched);
    if (feed != nullptr) {
      std::size_t at = static_cast<std::size_t>(static_cast<const char*>(feed) - buffer_.data());
      std::string_view line(buffer_.data() + start_, at - start_);
      start_ = at + 1;
      return without_carriage_return(line);
    }
    std::size_t unread = end_ - start_;
    if (at_end_) {
      if (unread == 0) return std::nullopt;
      std::string_view line(buffer_.data() + start_, unread);
      start_ = end_;
      return line;
    }
    auto more = refill();
    if (!more) return std::unexpected(more.error());
    // refill moved the unread bytes to the front; they hold no line feed.
    searched = unread;
  }
}

std::expected<bool, int> LineReader::refill() {
  std::size_t unread = end_ - start_;
  std::memmove(buffer_.data(), buffer_.data() + start_, unread);
  start_ = 0;
  end_ = unread;
  if (buffer_.size() - end_ < chunk_) grow_buffer(buffer_);
  auto got = read_some(fd_, buffer_.data() + end_, buffer_.size() - end_);
  if (!got) return std::unexpected(got.error());
  end_ += *got;
  at_end_ = *got == 0;
  return !at_end_;
}

void grow_buffer(std::string& buffer) {
  buffer.resize_and_overwrite(buffer.size() * 2, [](char*, std::size_t size) { return size; });
}

std::expected<std::string, int> read_all(int fd) {
  std::string data;
  struct stat info {};
  // One byte more than a regular file's size lets the first read see its end;
  // other inputs are read a chunk at a time.
  std::size_t first_size = chunk_size;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    first_size = static_cast<std::size_t>(info.st_size) + 1;
  }
  data.resize(first_size);
  std::size_t used = 0;
  for (;;) {
    if (used == data.size()) data.resize(std::max(data.size() * 2, chunk_size));
    auto got = read_some(fd, data.data() + used, data.size() - used);
    if (!got) return std::unexpected(got.error());
    if (*got == 0) break;
    used += *got;
  }
  data.resize(used);
  // A caller may hold many inputs at once: each keeps at most twice its size,
  // not a whole chunk for a few bytes.
  if (data.capacity() > 2 * used) data.shrink_to_fit();
  return data;
}

}  // namespace tolva::cli
