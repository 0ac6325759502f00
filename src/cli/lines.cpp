#include "lines.hpp"

#include <cstring>
#include <utility>

namespace tolva::cli {

std::string_view take_line(std::string_view& rest, char terminator) noexcept {
  const void* end = std::memchr(rest.data(), terminator, rest.size());
  if (end == nullptr) return std::exchange(rest, {});
  const auto length = static_cast<std::size_t>(static_cast<const char*>(end) - rest.data());
  std::string_view line = rest.substr(0, length);
  rest.remove_prefix(length + 1);
  if (terminator == '\n' && line.ends_with('\r')) line.remove_suffix(1);
  return line;
}

LineReader::LineReader(int fd, char terminator, std::size_t block)
    : blocks_(fd, terminator, block, sort::LineBlocks::Handout::as_read), terminator_(terminator) {}

std::expected<std::optional<std::string_view>, std::error_code> LineReader::next() {
  if (rest_.empty()) {
    auto block = blocks_.next();
    if (!block) return std::unexpected(block.error());
    if (block->empty()) return std::nullopt;
    rest_ = *block;
  }
  return take_line(rest_, terminator_);
}

void grow_buffer(std::string& buffer) {
  buffer.resize_and_overwrite(buffer.size() * 2, [](char*, std::size_t size) { return size; });
}

}  // namespace tolva::cli
