#pragma once

#include <array>
#include <cstdint>

// Byte-level tests for the ASCII character classes of the grammar. A byte of a
// multi-byte UTF-8 sequence is never a member, so testing bytes is exact.
namespace tolva::grammar::detail {

enum CharClassBit : std::uint8_t {
  kDigit = 1,        // '0'-'9'
  kPartChar = 2,     // ASCII alphanumerics and '-'
  kIdentStart = 4,   // ASCII letters and '_'
  kIdentContinue = 8 // ASCII alphanumerics and '_'
};

inline constexpr std::array<std::uint8_t, 256> char_class_table = [] {
  std::array<std::uint8_t, 256> t{};
  for (int c = '0'; c <= '9'; ++c) t[c] = kDigit | kPartChar | kIdentContinue;
  for (int c = 'a'; c <= 'z'; ++c) {
    t[c] = kPartChar | kIdentStart | kIdentContinue;
    t[c - 'a' + 'A'] = kPartChar | kIdentStart | kIdentContinue;
  }
  t['-'] = kPartChar;
  t['_'] = kIdentStart | kIdentContinue;
  return t;
}();

constexpr bool has_class(char byte, CharClassBit bit) noexcept {
  return (char_class_table[static_cast<unsigned char>(byte)] & bit) != 0;
}

constexpr bool is_ascii(char byte) noexcept {
  return static_cast<unsigned char>(byte) < 0x80;
}

}  // namespace tolva::grammar::detail
