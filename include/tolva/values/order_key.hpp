#pragma once

#include <cstdint>
#include <iosfwd>
#include <span>

#include "tolva/values/part_order.hpp"
#include "tolva/values/version.hpp"

namespace tolva {

// The order key: bytes that order, compared as unsigned bytes with a proper
// prefix first (memcmp, then length), exactly as the values do, and that are
// equal exactly when the values are. It is for whatever sorts by a plain key:
// a BLOB column, a key-value store, a radix or prefix sort. A kind's value
// has the same key as a Version holding it, so keys of a kind and of Version
// mix freely.
//
// The bytes, in order:
//   - the kind's rank: 0x00 SemVer, 0x01 DotSeparated, 0x02 Other;
//   - SemVer: major, minor and patch as numbers, then the rc: 0xFF when
//     absent (after every present rc), else the rc parts as a list; meta
//     takes no part;
//   - DotSeparated: the parts as a list;
//   - Other: the value as a text.
// A number is a count: below 0xF0 one byte; a larger one is 0xF0 plus its
// byte count (1 to 4), then those bytes, most significant first, none of
// them a leading zero.
// A text is its bytes, each of 0x00, 0x01 and 0x02 written as 0x02 and then
// the byte. A list is its parts, each behind a 0x01: that mark sorts below
// every byte of a text, so a part sorts before its own extensions, and a list
// ends where the key does, so a proper prefix of a list sorts first.
//
// No key continues another with a 0x00 byte, so a key padded with zero bytes
// to a fixed length orders the same as the key itself.
//
// Each takes any of the four kinds and the order of the parts: the key
// above is PartOrder::text's. In the numeric order (compare(a, b, parts))
// each part of a list, behind its 0x01 mark, is:
//   - a number: 0x03, its value (below 200 one byte; 3 to 54 significant
//     digits, 200 plus their count and the digits; more, 0xFF, the digit
//     count as a count of up to 8 bytes, and the digits), then the count of
//     its leading zeros (zero itself: that count; any other number: that
//     count with every byte complemented, so more zeros sort first);
//   - any other part: 0x04, then the part as a text.
template <VersionValue V>
void append_order_key(std::string& out, const V& v, PartOrder parts = PartOrder::text);

// The key as a new string; `String` leaves <string> to the caller.
template <VersionValue V, class String = std::string>
[[nodiscard]] String order_key(const V& v, PartOrder parts = PartOrder::text) {
  String out;
  append_order_key(out, v, parts);
  return out;
}

// Writes the first out.size() bytes of the order key into `out`, zero bytes
// after a shorter key, and returns whether the whole key fit. Of two values'
// prefixes of one length:
//   - different prefixes order as the values do (memcmp);
//   - equal prefixes, both whole: the values are equal;
//   - equal prefixes, one whole: that one's value is less;
//   - equal prefixes, neither whole: undecided; compare the values.
// So (prefix, not whole) compared in that order decides every pair but the
// last case. Allocates nothing.
template <VersionValue V>
[[nodiscard]] bool write_order_key_prefix(std::span<std::uint8_t> out, const V& v,
                                          PartOrder parts = PartOrder::text) noexcept;

}  // namespace tolva
