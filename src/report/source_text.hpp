#pragma once

#include <cstddef>
#include <string_view>

namespace tolva::report {

// One line of a text. Line breaks are LF, CR, CR LF, VT, FF, NEL, U+2028 and
// U+2029; a final line break starts no further line, and an empty text is one
// empty line. Nothing is decoded ahead: a report over a long text costs memory
// in proportion to the lines it draws, not to the text.
class SourceLine {
 public:
  // The line that holds byte `position` of `text`; a position at or past the
  // end belongs to the last line.
  SourceLine(std::string_view text, std::size_t position);

  std::size_t index() const noexcept { return index_; }
  // The line's bytes, its line break included.
  std::string_view bytes() const noexcept { return bytes_; }
  // Where a span starting at byte `at` of the text starts: the position in
  // the line of the character that holds that byte (0 before the line, the
  // number of characters past it).
  std::size_t column_of(std::size_t at) const noexcept;
  // Where a span ending before byte `at` ends: the number of characters of
  // the line that start before it.
  std::size_t columns_before(std::size_t at) const noexcept;

 private:
  std::size_t index_ = 0;
  std::size_t begin_ = 0;
  std::string_view bytes_;
};

}  // namespace tolva::report
