#include "source_text.hpp"

#include "text/utf8.hpp"

namespace tolva::report {

namespace {

bool is_line_break(char32_t c) noexcept {
  switch (c) {
    case U'\n': case U'\r': case U'\v': case U'\f':
    case U'\u0085': case U'\u2028': case U'\u2029':
      return true;
    default:
      return false;
  }
}

// The byte offset just past the line that starts at `begin`, its break included.
std::size_t line_end(std::string_view text, std::size_t begin) noexcept {
  std::size_t pos = begin;
  while (pos < text.size()) {
    const text::Decoded c = text::decode_utf8(text, pos);
    pos += c.length;
    if (!is_line_break(c.code_point)) continue;
    if (c.code_point == U'\r' && pos < text.size() && text[pos] == '\n') ++pos;
    break;
  }
  return pos;
}

}  // namespace

SourceLine::SourceLine(std::string_view text, std::size_t position) {
  std::size_t end = line_end(text, 0);
  while (end <= position && end < text.size()) {
    begin_ = end;
    end = line_end(text, begin_);
    ++index_;
  }
  bytes_ = text.substr(begin_, end - begin_);
}

std::size_t SourceLine::column_of(std::size_t at) const noexcept {
  const std::size_t offset = at > begin_ ? at - begin_ : 0;
  std::size_t column = 0;
  for (std::size_t pos = 0; pos < bytes_.size(); ++column) {
    pos += text::decode_utf8(bytes_, pos).length;
    if (pos > offset) return column;
  }
  return column;
}

std::size_t SourceLine::columns_before(std::size_t at) const noexcept {
  const std::size_t offset = at > begin_ ? at - begin_ : 0;
  std::size_t column = 0;
  for (std::size_t pos = 0; pos < bytes_.size() && pos < offset; ++column)
    pos += text::decode_utf8(bytes_, pos).length;
  return column;
}

}  // namespace tolva::report
