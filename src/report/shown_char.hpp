#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tolva::report {

// A long line is drawn as a window: the `shown_around` characters next to its
// marks on each side, a side being cut only where more than twice as many
// stand there, so that a report costs what it draws and not what the line
// holds. A label's digits of a too large number are cut the same way.
inline constexpr std::size_t shown_around = 256;

// Stands where a long line or number is cut.
inline constexpr std::string_view cut_mark = "\u2026";  // …

// How the source row draws one character: `copies` times `glyph`, or when
// `named` the name of `glyph` (append_name), taking `columns` terminal
// columns in all.
struct ShownChar {
  char32_t glyph;
  std::uint8_t copies;
  std::uint8_t columns;
  bool named = false;
};

// True for the characters a report shows by name: format characters (general
// category Cf: the bidirectional controls, zero-width characters, the byte
// order mark, ...), which a terminal does not draw but which change how the
// text around them reads, so that an echoed line could say something else.
bool is_named(char32_t c) noexcept;

// Appends the name a report shows for `c`, "<U+202E>": a form that no single
// character of the text draws.
void append_name(std::string& out, char32_t c);

// The character a report may print for `c`: control characters other than tab,
// line feed and carriage return become visible stand-ins (U+2400 + code, U+2421
// for DEL, U+FFFD for C1 controls), so that no escape sequence of the rejected
// text reaches a terminal; a value that is no Unicode scalar becomes U+FFFD.
char32_t visible_char(char32_t c) noexcept;

// How the source row draws `c` when it starts at display column `column`: a
// tab as blanks up to the next multiple of 4, other white space as one blank,
// stand-ins and names as above.
ShownChar show_source_char(char32_t c, std::size_t column) noexcept;

// Appends `c` as it stands outside the source row, on one line of its own
// making: every control character (tab, line feed and carriage return
// included) as its stand-in, format characters and the line and paragraph
// separators by name.
void append_shown_char(std::string& out, char32_t c);

// Appends any bytes (a file name, an argument, a source name) as one line of
// well-formed UTF-8 that a terminal shows as it reads: each ill-formed
// sequence becomes U+FFFD, every control character (tab, line feed and
// carriage return included) its stand-in, and format characters and the line
// and paragraph separators their names, so that a name neither drives the
// terminal nor splits the line it stands in.
void append_shown_name(std::string& out, std::string_view bytes);

// The characters of one line as the source row draws them, one after another.
class ShownLine {
 public:
  // `column` is where the first character is drawn, for tab stops.
  explicit ShownLine(std::string_view line, std::size_t column = 0) noexcept
      : line_(line), column_(column) {}

  // The next character, or nothing past the line's end.
  std::optional<ShownChar> next() noexcept;

 private:
  std::string_view line_;
  std::size_t column_;
  std::size_t pos_ = 0;
};

}  // namespace tolva::report
