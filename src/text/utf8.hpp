#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tolva::text {

struct Decoded {
  char32_t code_point;  // U+FFFD when the bytes are ill-formed
  std::uint8_t length;  // bytes taken, 1 to 4
  bool well_formed;
};

// Decodes the character that starts at `pos` (< text.size()) of any byte
// string, never reading past its end. An ill-formed sequence (a stray
// continuation byte, an overlong form, a surrogate, a value past U+10FFFF, a
// sequence cut short) gives U+FFFD and takes its longest prefix that could
// have begun a character, at least one byte, so decoding always moves on.
Decoded decode_utf8(std::string_view text, std::size_t pos) noexcept;

// The length in bytes of the sequence `lead` announces: 1 to 4, or 0 for a
// byte that starts no character.
std::size_t announced_length(std::uint8_t lead) noexcept;

bool is_valid_utf8(std::string_view text) noexcept;

void append_utf8(std::string& out, char32_t c);

}  // namespace tolva::text
