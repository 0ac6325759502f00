#pragma once

#include <cstddef>
#include <expected>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "sort/line_blocks.hpp"

namespace tolva::cli {

// Takes the first line off `rest`: the text before the first terminator,
// less a carriage return just before a line feed. Text after the last
// terminator is a line of its own; nothing after a final terminator is not.
std::string_view take_line(std::string_view& rest, char terminator = '\n') noexcept;

// Reads a descriptor line by line, handing out each line as soon as a read
// brings it, in a buffer that grows only to hold the longest line, so memory
// does not grow with the number of lines.
class LineReader {
 public:
  static constexpr std::size_t default_block = 64 * 1024;

  // `block` is the size each read aims to fill (smaller only to test the
  // boundaries between reads).
  explicit LineReader(int fd, char terminator = '\n', std::size_t block = default_block);

  // The next line, valid until the next call; nullopt at the end of the
  // input, or the error of a failed read.
  std::expected<std::optional<std::string_view>, std::error_code> next();

 private:
  sort::LineBlocks blocks_;
  char terminator_;
  std::string_view rest_;  // the lines of the last block not yet handed out
};

// Doubles the size of a buffer that reads are made into, leaving the new
// room as it is: only what is read into it is touched, so a buffer grown for
// a long line costs that line's length, not the buffer's.
void grow_buffer(std::string& buffer);

}  // namespace tolva::cli
