#include "shown_char.hpp"

#include "unicode/properties.hpp"

namespace tolva::report {

namespace {

constexpr std::size_t tab_width = 4;

}  // namespace

char32_t visible_char(char32_t c) noexcept {
  if (c == U'\t' || c == U'\n' || c == U'\r') return c;
  if (c < 0x20) return U'\u2400' + c;
  if (c == 0x7F) return U'\u2421';
  if (c >= 0x80 && c <= 0x9F) return U'\uFFFD';
  if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return U'\uFFFD';
  return c;
}

ShownChar show_source_char(char32_t c, std::size_t column) noexcept {
  if (c == U'\t') {
    auto blanks = static_cast<std::uint8_t>(tab_width - column % tab_width);
    return {U' ', blanks, blanks};
  }
  char32_t shown = visible_char(c);
  if (shown != c) return {shown, 1, 1};
  if (unicode::is_white_space(c)) return {U' ', 1, 1};
  return {c, 1, static_cast<std::uint8_t>(unicode::display_width(c))};
}

}  // namespace tolva::report
