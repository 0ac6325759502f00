#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "tolva/values/dot_separated.hpp"
#include "tolva/values/other.hpp"
#include "tolva/values/part_order.hpp"
#include "tolva/values/semver.hpp"
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
// A number below 0xF0 is one byte; a larger one is 0xF0 plus its byte count
// (1 to 4), then those bytes, most significant first, none of them a
// leading zero.
// A text is its bytes, each of 0x00, 0x01 and 0x02 written as 0x02 and then
// the byte. A list is its parts, each behind a 0x01: that mark sorts below
// every byte of a text, so a part sorts before its own extensions, and a list
// ends where the key does, so a proper prefix of a list sorts first.
//
// No key continues another with a 0x00 byte, so a key padded with zero bytes
// to a fixed length orders the same as the key itself.
void append_order_key(std::string& out, const Version& v);
void append_order_key(std::string& out, const SemVer& v);
void append_order_key(std::string& out, const DotSeparated& v);
void append_order_key(std::string& out, const Other& v);

[[nodiscard]] std::string order_key(const Version& v);
[[nodiscard]] std::string order_key(const SemVer& v);
[[nodiscard]] std::string order_key(const DotSeparated& v);
[[nodiscard]] std::string order_key(const Other& v);

// Writes the first out.size() bytes of the order key into `out`, zero bytes
// after a shorter key, and returns whether the whole key fit. Of two values'
// prefixes of one length:
//   - different prefixes order as the values do (memcmp);
//   - equal prefixes, both whole: the values are equal;
//   - equal prefixes, one whole: that one's value is less;
//   - equal prefixes, neither whole: undecided; compare the values.
// So (prefix, not whole) compared in that order decides every pair but the
// last case. Allocates nothing.
[[nodiscard]] bool write_order_key_prefix(std::span<std::uint8_t> out, const Version& v) noexcept;
[[nodiscard]] bool write_order_key_prefix(std::span<std::uint8_t> out, const SemVer& v) noexcept;
[[nodiscard]] bool write_order_key_prefix(std::span<std::uint8_t> out,
                                          const DotSeparated& v) noexcept;
[[nodiscard]] bool write_order_key_prefix(std::span<std::uint8_t> out, const Other& v) noexcept;

// The same contract for the values ordered with their parts in `parts`
// (compare(a, b, parts)); PartOrder::text gives the key above. In the
// numeric order each part of a list, behind its 0x01 mark, is:
//   - a number: 0x03, the count of its digits without leading zeros, those
//     digits, then the count of its leading zeros (zero itself: that count;
//     any other number: that count with every byte complemented, so more
//     zeros sort first). A count is written as a number above, of up to 8
//     bytes;
//   - any other part: 0x04, then the part as a text.
void append_order_key(std::string& out, const Version& v, PartOrder parts);
[[nodiscard]] std::string order_key(const Version& v, PartOrder parts);
[[nodiscard]] bool write_order_key_prefix(std::span<std::uint8_t> out, const Version& v,
                                          PartOrder parts) noexcept;

}  // namespace tolva
