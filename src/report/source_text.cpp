#include "source_text.hpp"

#include <algorithm>

#include "unicode/utf8.hpp"

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

}  // namespace

SourceText::SourceText(std::string_view text) {
  chars_.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const unicode::Decoded c = unicode::decode_utf8(text, pos);
    chars_.push_back(c.code_point);
    pos += c.length;
  }

  std::size_t start = 0;
  for (std::size_t i = 0; i < chars_.size(); ++i) {
    if (!is_line_break(chars_[i])) continue;
    if (chars_[i] == U'\r' && i + 1 < chars_.size() && chars_[i + 1] == U'\n') ++i;
    lines_.push_back({start, i + 1 - start});
    start = i + 1;
  }
  if (start < chars_.size() || lines_.empty()) lines_.push_back({start, chars_.size() - start});
}

std::span<const char32_t> SourceText::chars(std::size_t index) const noexcept {
  const SourceLine& l = lines_[index];
  return std::span<const char32_t>(chars_).subspan(l.offset, l.length);
}

std::size_t SourceText::line_of(std::size_t position) const noexcept {
  auto after = std::upper_bound(lines_.begin(), lines_.end(), position,
                                [](std::size_t pos, const SourceLine& l) { return pos < l.offset; });
  return static_cast<std::size_t>(after - lines_.begin()) - 1;
}

}  // namespace tolva::report
