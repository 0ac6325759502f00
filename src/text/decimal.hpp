#pragma once

#include <charconv>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <string>

// Decimal numbers as every written form of the core spells them: base 10,
// ASCII digits, a '-' for negative values, no grouping.
namespace tolva {

// Number of base-10 digits of `n`; 1 for zero.
constexpr std::size_t decimal_length(std::uint32_t n) noexcept {
  std::size_t digits = 1;
  while (n >= 10) {
    n /= 10;
    ++digits;
  }
  return digits;
}

// Appends `number` in decimal, with at least `width` digits (zero-padded).
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

}  // namespace tolva
