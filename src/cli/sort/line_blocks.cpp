#include "line_blocks.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "../lines.hpp"

namespace tolva::cli::sort {
namespace {

bool is_blank(char c) noexcept { return c == ' ' || c == '\t'; }

}  // namespace

LineBlocks::LineBlocks(int fd, char terminator, std::size_t block_size, Handout handout)
    : fd_(fd), terminator_(terminator), handout_(handout) {
  // Not zero-filled: a block of megabytes for each of thousands of small
  // inputs would cost more than reading them, and untouched pages cost nothing.
  buffer_.resize_and_overwrite(block_size, [](char*, std::size_t size) { return size; });
}

std::expected<std::string_view, std::error_code> LineBlocks::next() {
  // The unfinished line the last block left moves to the front; it holds no
  // terminator, so only what is read behind it is searched.
  std::size_t unread = end_ - start_;
  std::memmove(buffer_.data(), buffer_.data() + start_, unread);
  start_ = 0;
  end_ = unread;
  std::size_t searched = unread;
  for (;;) {
    while (!at_end_ && end_ < buffer_.size()) {
      ssize_t got = ::read(fd_, buffer_.data() + end_, buffer_.size() - end_);
      if (got < 0) {
        if (errno == EINTR) continue;
        return std::unexpected(std::error_code(errno, std::generic_category()));
      }
      at_end_ = got == 0;
      end_ += static_cast<std::size_t>(got);
      if (handout_ == Handout::as_read) break;
    }
    if (at_end_) {
      start_ = end_;
      return std::string_view(buffer_.data(), end_);
    }
    std::string_view fresh(buffer_.data() + searched, end_ - searched);
    std::size_t last = fresh.find_last_of(terminator_);
    if (last != std::string_view::npos) {
      start_ = searched + last + 1;
      return std::string_view(buffer_.data(), start_);
    }
    searched = end_;
    // One line fills the whole buffer: make room for the rest of it.
    if (end_ == buffer_.size()) grow_buffer(buffer_);
  }
}

std::optional<std::string_view> field_of(std::string_view line, std::size_t number,
                                         std::optional<char> separator) noexcept {
  std::size_t at = 0;
  for (std::size_t field = 1;; ++field) {
    std::size_t end = 0;
    if (separator) {
      end = std::min(line.find(*separator, at), line.size());
    } else {
      while (at < line.size() && is_blank(line[at])) ++at;
      if (at == line.size()) return std::nullopt;
      end = at;
      while (end < line.size() && !is_blank(line[end])) ++end;
    }
    if (field == number) return line.substr(at, end - at);
    if (end == line.size()) return std::nullopt;
    at = end + 1;
  }
}

}  // namespace tolva::cli::sort
