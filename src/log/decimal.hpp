#pragma once

#include <charconv>
#include <concepts>
#include <string>

namespace tolva::log {

// Appends `number` in decimal, at least `width` digits (zero-padded).
template <std::integral T>
void append_decimal(std::string& out, T number, int width = 0) {
  char digits[24];
  const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, number);
  (void)ec;  // 24 bytes hold any 64-bit number
  const bool negative = number < 0;
  const int length = static_cast<int>(end - digits) - (negative ? 1 : 0);
  if (negative) out += '-';
  if (length < width) out.append(static_cast<std::size_t>(width - length), '0');
  out.append(digits + (negative ? 1 : 0), end);
}

}  // namespace tolva::log
