#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "key_bytes.hpp"
#include "part_number.hpp"
#include "tolva/values/part_order.hpp"
#include "tolva/values/text_list.hpp"

// The writer of the order key (its bytes are described in
// tolva/values/order_key.hpp, its pieces in key_bytes.hpp) from a value's
// pieces, whether they are kept in a value or still lie in the text it was
// read from, so that a key can be made without building the value. Each
// writer puts bytes into a key_bytes sink, which appends them, keeps a prefix
// of them, or compares them as they come; once its open() is false nothing
// more is wanted and the writers stop early.
namespace tolva::values_detail {

using key_bytes::escape;
using key_bytes::KeyPrefix;
using key_bytes::put_count;
using key_bytes::put_text;
using key_bytes::WholeKey;

constexpr std::uint8_t semver_rank = 0x00;
constexpr std::uint8_t dot_separated_rank = 0x01;
constexpr std::uint8_t other_rank = 0x02;

constexpr std::uint8_t part_mark = 0x01;
constexpr std::uint8_t absent_rc = 0xFF;
// The numeric part order's first byte of a part.
constexpr std::uint8_t number_part = 0x03;
constexpr std::uint8_t text_part = 0x04;

// Calls `f` with each part of a list, in order.
template <class F>
void for_each_part(TextSpan parts, F&& f) {
  for (const ShortText& part : parts) {
    if (!f(part.view())) return;
  }
}
template <class F>
void for_each_part(JoinedParts parts, F&& f) {
  if (parts.count == 0) return;
  std::string_view rest = parts.text;
  for (;;) {
    const std::size_t dot = rest.find('.');
    if (!f(rest.substr(0, dot)) || dot == std::string_view::npos) return;
    rest.remove_prefix(dot + 1);
  }
}

// A number: its value as a number, then its count of leading zeros, which
// sets apart numbers of equal value as their texts order: more zeros first
// ("01" < "1"), but for zero fewer first ("0" < "00"). Each field is
// prefix-free, so no number's bytes begin another's.
template <class Key>
void put_part(Key& key, std::string_view part,
              std::integral_constant<PartOrder, PartOrder::numeric>) {
  if (!is_number(part)) {
    key.put(text_part);
    return put_text(key, part);
  }
  const std::string_view digits = significant_digits(part);
  key.put(number_part);
  key_bytes::put_number(key, digits);
  put_count(key, part.size() - digits.size(), !digits.empty());
}

template <class Key>
void put_part(Key& key, std::string_view part, std::integral_constant<PartOrder, PartOrder::text>) {
  put_text(key, part);
}

// A list still in its text, in the text order: its dots are the marks of
// the parts after the first, so it is written in one pass.
template <PartOrder P, class Key>
requires(P == PartOrder::text) void put_list(Key& key, JoinedParts parts) {
  if (parts.count == 0) return;
  key.put(part_mark);
  for (char c : parts.text) {
    if (!key.open()) return;
    const auto byte = static_cast<std::uint8_t>(c);
    if (c == '.') {
      key.put(part_mark);
      continue;
    }
    if (byte <= escape) key.put(escape);
    key.put(byte);
  }
}

template <PartOrder P, class Key, class Parts>
void put_list(Key& key, Parts parts) {
  for_each_part(parts, [&](std::string_view part) {
    if (!key.open()) return false;
    key.put(part_mark);
    put_part(key, part, std::integral_constant<PartOrder, P>());
    return true;
  });
}

// A SemVer's key from its numbers and its rc (absent or a list of parts).
template <PartOrder P, class Key, class Parts>
void put_semver(Key& key, std::uint32_t major, std::uint32_t minor, std::uint32_t patch,
                const std::optional<Parts>& rc) {
  key.put(semver_rank);
  put_count(key, major);
  put_count(key, minor);
  put_count(key, patch);
  if (rc) {
    put_list<P>(key, *rc);
  } else {
    key.put(absent_rc);
  }
}

template <PartOrder P, class Key, class Parts>
void put_dot_separated(Key& key, Parts parts) {
  key.put(dot_separated_rank);
  put_list<P>(key, parts);
}

template <class Key>
void put_other(Key& key, std::string_view value) {
  key.put(other_rank);
  put_text(key, value);
}

// The most bytes the key of a value read from a text of `size` bytes can take:
// its numbers, and each byte of the text at most once in the text order;
// in the numeric order a one-digit part and its dot take four.
constexpr std::size_t key_size_bound(std::size_t size, PartOrder parts) noexcept {
  return (parts == PartOrder::numeric ? 2 * size : size) + 32;
}

}  // namespace tolva::values_detail
