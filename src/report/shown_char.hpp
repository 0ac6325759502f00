#pragma once

#include <cstddef>
#include <cstdint>

namespace tolva::report {

// How the source row draws one character: `copies` times `glyph`, taking
// `columns` terminal columns in all.
struct ShownChar {
  char32_t glyph;
  std::uint8_t copies;
  std::uint8_t columns;
};

// The character a report may print for `c`: control characters other than tab,
// line feed and carriage return become visible stand-ins (U+2400 + code, U+2421
// for DEL, U+FFFD for C1 controls), so that no escape sequence of the rejected
// text reaches a terminal; a value that is no Unicode scalar becomes U+FFFD.
char32_t visible_char(char32_t c) noexcept;

// How the source row draws `c` when it starts at display column `column`: a
// tab as blanks up to the next multiple of 4, other white space as one blank.
ShownChar show_source_char(char32_t c, std::size_t column) noexcept;

}  // namespace tolva::report
