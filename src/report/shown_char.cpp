#include "shown_char.hpp"

#include "text/hex.hpp"
#include "text/properties.hpp"
#include "text/utf8.hpp"

namespace tolva::report {

namespace {

constexpr std::size_t tab_width = 4;

// Hexadecimal digits of the name: at least four, as in U+00AD.
std::size_t name_digits(char32_t c) noexcept {
  std::size_t digits = 4;
  while (digits < 8 && (c >> (4 * digits)) != 0) ++digits;
  return digits;
}

}  // namespace

bool is_named(char32_t c) noexcept { return text::is_format(c); }

void append_name(std::string& out, char32_t c) {
  out += "<U+";
  append_hex(out, static_cast<std::uint32_t>(c), 4, HexCase::upper);
  out += '>';
}

char32_t visible_char(char32_t c) noexcept {
  if (c == U'\t' || c == U'\n' || c == U'\r') return c;
  if (c < 0x80 && text::is_control(c)) return text::control_picture(c);
  if (text::is_control(c)) return U'\uFFFD';
  if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return U'\uFFFD';
  return c;
}

ShownChar show_source_char(char32_t c, std::size_t column) noexcept {
  if (c == U'\t') {
    auto blanks = static_cast<std::uint8_t>(tab_width - column % tab_width);
    return {U' ', blanks, blanks};
  }
  if (is_named(c)) return {c, 1, static_cast<std::uint8_t>(name_digits(c) + 4), true};
  char32_t shown = visible_char(c);
  if (shown != c) return {shown, 1, 1};
  if (text::is_white_space(c)) return {U' ', 1, 1};
  return {c, 1, static_cast<std::uint8_t>(text::display_width(c))};
}

void append_shown_char(std::string& out, char32_t c) {
  if (is_named(c) || text::is_line_separator(c)) {
    append_name(out, c);
  } else if (c < 0x20) {
    text::append_utf8(out, text::control_picture(c));
  } else {
    text::append_utf8(out, visible_char(c));
  }
}

void append_shown_name(std::string& out, std::string_view bytes) {
  for (std::size_t pos = 0; pos < bytes.size();) {
    const text::Decoded d = text::decode_utf8(bytes, pos);
    pos += d.length;
    append_shown_char(out, d.code_point);
  }
}

std::optional<ShownChar> ShownLine::next() noexcept {
  if (pos_ >= line_.size()) return std::nullopt;
  const text::Decoded d = text::decode_utf8(line_, pos_);
  pos_ += d.length;
  const ShownChar shown = show_source_char(d.code_point, column_);
  column_ += shown.columns;
  return shown;
}

}  // namespace tolva::report
