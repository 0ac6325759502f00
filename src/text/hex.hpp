#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Hexadecimal numbers as the escapes and names of every written form spell
// them: no prefix, the digits of one case.
namespace tolva {

enum class HexCase : bool { lower, upper };

// Appends `number` in hexadecimal without leading zeros, with at least
// `width` digits (zero-padded).
inline void append_hex(std::string& out, std::uint32_t number, std::size_t width = 1,
                       HexCase letters = HexCase::lower) {
  const char* digits = letters == HexCase::upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::size_t length = 1;
  while (length < 8 && (number >> (4 * length)) != 0) ++length;
  if (length < width) length = width;
  for (std::size_t i = length; i > 0; --i)
    out += i > 8 ? '0' : digits[(number >> (4 * (i - 1))) & 0xF];
}

}  // namespace tolva
