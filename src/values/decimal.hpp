#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>

namespace tolva::values_detail {

// Number of base-10 digits of `n`; 1 for zero.
constexpr std::size_t decimal_length(std::uint32_t n) noexcept {
  std::size_t digits = 1;
  while (n >= 10) {
    n /= 10;
    ++digits;
  }
  return digits;
}

// Appends `n` in base 10: no sign, no leading zeros, no grouping.
inline void append_decimal(std::string& out, std::uint32_t n) {
  char buffer[10];  // 4294967295 has ten digits
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, n).ptr;
  out.append(buffer, end);
}

}  // namespace tolva::values_detail
