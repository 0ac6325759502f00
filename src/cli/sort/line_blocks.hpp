#pragma once

#include <cstddef>
#include <expected>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace tolva::cli::sort {

// Reads a descriptor in blocks of whole lines, so that lines can be handed
// out in groups (to several threads) while the memory stays that of one block.
class LineBlocks {
 public:
  // When a block is handed out: once it is full (or the input ends), or as
  // soon as a read brings a whole line, for a reader that answers each line
  // as it arrives.
  enum class Handout { full, as_read };

  // `block_size` is what each block aims at; a longer line makes its block
  // longer.
  LineBlocks(int fd, char terminator, std::size_t block_size, Handout handout = Handout::full);

  // The next block: whole lines, each ending in the terminator except the
  // input's last one, which may lack it. Empty at the end of the input, or
  // the error of a failed read. Valid until the next call.
  std::expected<std::string_view, std::error_code> next();

 private:
  int fd_;
  char terminator_;
  Handout handout_;
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
