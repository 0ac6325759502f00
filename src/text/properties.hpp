#pragma once

namespace tolva::text {

// Unicode character properties, from tables generated out of the Unicode
// Character Database (see tools/gen_unicode_tables.py).
bool is_xid_start(char32_t c) noexcept;
bool is_xid_continue(char32_t c) noexcept;
bool is_grapheme_extend(char32_t c) noexcept;
bool is_white_space(char32_t c) noexcept;
// General category Cc, Cf, Cs, Co, Cn, Zl, Zp or Zs: shown escaped in debug forms.
bool is_escaped_category(char32_t c) noexcept;
// General category Cf: format characters, which a terminal does not draw but
// which change how the text around them reads (bidirectional controls,
// zero-width joiners, the byte order mark, ...).
bool is_format(char32_t c) noexcept;
// C0 controls, DEL and C1 controls (general category Cc): a terminal obeys
// them rather than drawing them.
constexpr bool is_control(char32_t c) noexcept { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }
// The line and paragraph separators (Zl, Zp): a line break inside what reads
// as one line.
constexpr bool is_line_separator(char32_t c) noexcept { return c == U'\u2028' || c == U'\u2029'; }
// The Control Pictures stand-in of a C0 control or DEL: U+2400 + code, U+2421.
constexpr char32_t control_picture(char32_t c) noexcept {
  return c == 0x7F ? U'\u2421' : U'\u2400' + c;
}

// Columns a terminal gives the character: 0 (combining, zero width, controls),
// 1, or 2 (East Asian Wide and Fullwidth).
int display_width(char32_t c) noexcept;

}  // namespace tolva::text
