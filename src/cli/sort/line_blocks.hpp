#pragma once

#include <cstddef>
#include <expected>
#include <optional>
#include <string>
#include <string_view>

#include "../lines.hpp"

namespace tolva::cli::sort {

// Reads a descriptor in blocks of whole lines, so that lines can be handed
// out in groups (to several threads) while the memory stays that of one block.
class LineBlocks {
 public:
  // `block_size` is what each block aims at; a longer line makes its block
  // longer.
  LineBlocks(int fd, char terminator, std::size_t block_size);

  // The next block: whole lines, each ending in the terminator except the
  // input's last one, which may lack it. Empty at the end of the input, or
  // the errno of a failed read. Valid until the next call.
  std::expected<std::string_view, int> next();

 private:
  int fd_;
  char terminator_;
  std::string buffer_;
  std::size_t start_ = 0;  // first byte not yet handed out
  std::size_t end_ = 0;    // end of the bytes read
  bool at_end_ = false;
};

// Field `number` (from 1) of a line: fields are separated by each
// `separator`, or without one by runs of blanks (space and tab), blanks
// before the first field not counting. Nothing when the line has fewer.
std::optional<std::string_view> field_of(std::string_view line, std::size_t number,
                                         std::optional<char> separator) noexcept;

}  // namespace tolva::cli::sort
