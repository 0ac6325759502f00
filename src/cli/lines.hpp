#pragma once

#include <expected>
#include <optional>
#include <string>
#include <string_view>

namespace tolva::cli {

// Takes the first line off `rest`: the text before the first line feed, less
// a carriage return just before it. Text after the last line feed is a line
// of its own; nothing after a final line feed is not.
std::string_view take_line(std::string_view& rest) noexcept;

// Reads a descriptor line by line in a buffer that grows only to hold the
// longest line, so memory does not grow with the number of lines.
class LineReader {
 public:
  static constexpr std::size_t default_chunk = 64 * 1024;

  // Each read asks for at least `chunk` bytes (fewer only to test the
  // boundaries between reads).
  explicit LineReader(int fd, std::size_t chunk = default_chunk);

  // The next line, valid until the next call; nullopt at the end of the
  // input, or the errno of a failed read.
  std::expected<std::optional<std::string_view>, int> next();

 private:
  // Moves the unread rest to the front and reads more behind it; false at
  // the end of the input.
  std::expected<bool, int> refill();

  int fd_;
  std::size_t chunk_;
  std::string buffer_;
  std::size_t start_ = 0;  // first unread byte
  std::size_t end_ = 0;    // end of the bytes read
  bool at_end_ = false;
};

// Doubles the size of a buffer that reads are made into, leaving the new
// room as it is: only what is read into it is touched, so a buffer grown for
// a long line costs that line's length, not the buffer's.
void grow_buffer(std::string& buffer);

// Everything left on a descriptor, or the errno of a failed read. The string
// holds at most about twice the bytes read, so that many can be held at once.
std::expected<std::string, int> read_all(int fd);

}  // namespace tolva::cli
