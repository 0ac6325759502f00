#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tolva::unicode {

struct Decoded {
  char32_t code_point;
  std::uint8_t length;  // bytes taken, 1 to 4
};

// Decodes the character that starts at `pos`. Precondition: `text` is valid
// UTF-8 and `pos` is a character boundary before its end.
Decoded decode_utf8(std::string_view text, std::size_t pos) noexcept;

bool is_valid_utf8(std::string_view text) noexcept;

void append_utf8(std::string& out, char32_t c);

}  // namespace tolva::unicode
