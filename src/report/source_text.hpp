#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace tolva::report {

// A line as a range of character positions; `length` includes its line break.
struct SourceLine {
  std::size_t offset;
  std::size_t length;
};

// A text decoded into characters and split into lines. Line breaks are LF, CR,
// CR LF, VT, FF, NEL, U+2028 and U+2029; a final line break starts no further
// line, and an empty text is one empty line.
class SourceText {
 public:
  explicit SourceText(std::string_view text);

  std::size_t line_count() const noexcept { return lines_.size(); }
  const SourceLine& line(std::size_t index) const noexcept { return lines_[index]; }
  // The characters of a line, its line break included.
  std::span<const char32_t> chars(std::size_t index) const noexcept;
  // The line a character position belongs to; positions past the end of the
  // text belong to the last line.
  std::size_t line_of(std::size_t position) const noexcept;

 private:
  std::vector<char32_t> chars_;
  std::vector<SourceLine> lines_;
};

}  // namespace tolva::report
