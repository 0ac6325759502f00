#pragma once

#include <bit>
#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

// Decimal numbers of any length in order keys, and their order.
namespace tolva::scheme::detail {

inline bool is_digit(char c) noexcept { return c >= '0' && c <= '9'; }
inline bool is_letter(char c) noexcept { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

inline std::string_view without_leading_zeros(std::string_view digits) noexcept {
  const std::size_t first = digits.find_first_not_of('0');
  return first == std::string_view::npos ? std::string_view{} : digits.substr(first);
}

// A count below 0xF0 is one byte; a larger one is 0xF0 plus its byte count,
// then those bytes, most significant first. More bytes make a larger count,
// and no encoding is a prefix of another.
inline void put_count(std::string& out, std::uint64_t n) {
  constexpr std::uint64_t long_count = 0xF0;
  if (n < long_count) {
    out.push_back(static_cast<char>(n));
    return;
  }
  const int bytes = (std::bit_width(n) + 7) / 8;
  out.push_back(static_cast<char>(long_count + static_cast<unsigned>(bytes)));
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<char>(n >> (8 * i)));
}

// The digits' value: the count of its digits without leading zeros, then
// those digits (zero: the count 0 alone).
inline void put_decimal(std::string& out, std::string_view digits) {
  const std::string_view value = without_leading_zeros(digits);
  put_count(out, value.size());
  out.append(value);
}

// The bytes of the key that put_count wrote at `at`.
inline std::size_t count_size(std::string_view key, std::size_t at) noexcept {
  if (at >= key.size()) return 0;
  const auto first = static_cast<unsigned char>(key[at]);
  return first < 0xF0 ? 1 : 1 + (first - 0xF0u);
}

// The key's bytes from `at` to the end of the number put_decimal wrote there.
inline std::size_t decimal_size(std::string_view key, std::size_t at) noexcept {
  const std::size_t head = count_size(key, at);
  std::uint64_t n = 0;
  if (head == 1) {
    n = static_cast<unsigned char>(key[at]);
  } else {
    for (std::size_t i = 1; i < head && at + i < key.size(); ++i)
      n = (n << 8) | static_cast<unsigned char>(key[at + i]);
  }
  return head + n;
}

// Two runs of digits by value.
inline std::strong_ordering compare_decimal(std::string_view a, std::string_view b) noexcept {
  a = without_leading_zeros(a);
  b = without_leading_zeros(b);
  if (a.size() != b.size()) return a.size() <=> b.size();
  return a.compare(b) <=> 0;
}

}  // namespace tolva::scheme::detail
