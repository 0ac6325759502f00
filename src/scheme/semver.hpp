#pragma once

#include <compare>
#include <expected>
#include <optional>
#include <string_view>

#include "row.hpp"

// The semver scheme: SemVer 2.0.0 text exactly as semver.org writes it (no
// 'v' before it, no leading zeros in numbers or in numeric pre-release
// identifiers, identifiers of [0-9A-Za-z-]). Numbers may have any number of
// digits and compare by value.
namespace tolva::scheme::detail::semver {

// Views into the text read: the numbers' digits, and the pre-release and
// build metadata without their '-' and '+' (empty when absent).
struct Parts {
  std::string_view major;
  std::string_view minor;
  std::string_view patch;
  std::string_view prerelease;
  std::string_view build;
};

std::expected<Parts, ParseError> read(std::string_view text);

// SemVer 2.0.0 precedence.
std::weak_ordering compare(const Parts& a, const Parts& b) noexcept;

// The key: each number, then 0x03 for a release, else each pre-release
// identifier as 0x01 and a number or 0x02 and its text (identifiers hold no
// byte below '-'). A pre-release's facts name its three numbers as its
// release. With a bar, the key is written only as far as it may pass it:
// nullopt, and `out` as it was, once its numbers settle it short.
std::optional<KeyFacts> append_key(std::string& out, const Parts& v,
                                   const key_bytes::Bar* bar = nullptr);

// Reads a range text of the semver scheme.
Read read_range(grammar::RangeText& in, const Order& order, KeyRange& out);

}  // namespace tolva::scheme::detail::semver
