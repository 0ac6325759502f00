#pragma once

#include <algorithm>
#include <bit>
#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

// Decimal numbers of any length in order keys, and their order.
namespace tolva::scheme::detail {

constexpr bool is_digit(char c) noexcept { return c >= '0' && c <= '9'; }
constexpr bool is_letter(char c) noexcept {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

inline std::string_view without_leading_zeros(std::string_view digits) noexcept {
  const std::size_t first = digits.find_first_not_of('0');
  return first == std::string_view::npos ? std::string_view{} : digits.substr(first);
}

// The most bytes a key of each scheme takes for a text of `size` bytes: a
// number or identifier at most 11 more than its digits, a natural run at most
// twice its text, a Debian part twice its text and 11 bytes.
constexpr std::size_t semver_key_bound(std::size_t size) noexcept { return 34 + 11 * size; }
constexpr std::size_t natural_key_bound(std::size_t size) noexcept { return 23 + 3 * size; }
constexpr std::size_t debian_key_bound(std::size_t size) noexcept { return 40 + 2 * size; }

// Keys are written through a pointer into room reserved for the longest key
// the text can have: appends to `out` what `write(char* at)` writes, given
// at most `bound` bytes, returning the end of what it wrote.
template <class Write>
void append_key(std::string& out, std::size_t bound, Write write) {
  const std::size_t old = out.size();
  out.resize_and_overwrite(old + bound, [&](char* p, std::size_t) {
    return static_cast<std::size_t>(write(p + old) - p);
  });
}

inline char* put(char* at, unsigned byte) noexcept {
  *at = static_cast<char>(byte);
  return at + 1;
}

// A count below 0xF0 is one byte; a larger one is 0xF0 plus its byte count,
// then those bytes, most significant first. More bytes make a larger count,
// and no encoding is a prefix of another. At most 9 bytes.
inline char* put_count(char* at, std::uint64_t n) noexcept {
  constexpr std::uint64_t long_count = 0xF0;
  if (n < long_count) return put(at, static_cast<unsigned>(n));
  const int bytes = (std::bit_width(n) + 7) / 8;
  at = put(at, static_cast<unsigned>(long_count) + static_cast<unsigned>(bytes));
  for (int i = bytes - 1; i >= 0; --i) at = put(at, static_cast<unsigned>((n >> (8 * i)) & 0xFF));
  return at;
}

// A number below 200 is one byte, its value; a larger one is 200 plus its
// digit count (3 to 54 digits), or 0xFF and the count as put_count writes
// it, then its digits without leading zeros. Smaller numbers have smaller
// first bytes, and the digits of numbers of one count order as their values.
// At most 10 bytes more than the digits.
inline constexpr unsigned small_numbers = 200;
inline constexpr unsigned counted_digits = 0xFF - small_numbers;

inline char* put_decimal(char* at, std::string_view digits) noexcept {
  const char* first = digits.data();
  const char* const end = first + digits.size();
  while (first != end && *first == '0') ++first;
  const auto size = static_cast<std::size_t>(end - first);
  // Below 200: at most two digits, or three starting with 1.
  if (size <= 2 || (size == 3 && *first == '1')) {
    unsigned n = 0;
    for (; first != end; ++first) n = n * 10 + static_cast<unsigned>(*first - '0');
    return put(at, n);
  }
  if (size < counted_digits) {
    at = put(at, small_numbers + static_cast<unsigned>(size));
  } else {
    at = put_count(put(at, 0xFF), size);
  }
  return std::copy(first, end, at);
}

// The bytes of the key that put_count wrote at `at`.
inline std::size_t count_size(std::string_view key, std::size_t at) noexcept {
  if (at >= key.size()) return 0;
  const auto first = static_cast<unsigned char>(key[at]);
  return first < 0xF0 ? 1 : 1 + (first - 0xF0u);
}

// The key's bytes from `at` to the end of the number put_decimal wrote there.
inline std::size_t decimal_size(std::string_view key, std::size_t at) noexcept {
  if (at >= key.size()) return 0;
  const auto first = static_cast<unsigned char>(key[at]);
  if (first < small_numbers) return 1;
  if (first < 0xFF) return 1 + (first - small_numbers);
  const std::size_t head = count_size(key, at + 1);
  std::uint64_t n = 0;
  if (head == 1) {
    n = static_cast<unsigned char>(key[at + 1]);
  } else {
    for (std::size_t i = 2; i < 1 + head && at + i < key.size(); ++i)
      n = (n << 8) | static_cast<unsigned char>(key[at + i]);
  }
  return 1 + head + n;
}

// Two runs of digits by value.
inline std::strong_ordering compare_decimal(std::string_view a, std::string_view b) noexcept {
  a = without_leading_zeros(a);
  b = without_leading_zeros(b);
  if (a.size() != b.size()) return a.size() <=> b.size();
  return a.compare(b) <=> 0;
}

}  // namespace tolva::scheme::detail
