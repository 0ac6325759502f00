#pragma once

#include <compare>
#include <expected>
#include <string>
#include <string_view>

#include "tolva/grammar/parse_error.hpp"

// The semver scheme: SemVer 2.0.0 text exactly as semver.org writes
// it (no 'v' before it, no leading zeros in numbers or in numeric pre-release
// identifiers, identifiers of [0-9A-Za-z-]). Numbers may have any number of
// digits and compare by value.
//
//   auto v = tolva::semver::read("1.0.0-rc.1+build.5");
//   v->major == "1", v->prerelease == "rc.1", v->build == "build.5"
//   tolva::semver::compare(*v, *tolva::semver::read("1.0.0")) < 0
namespace tolva::semver {

// Views into the text read: the numbers' digits, and the pre-release and
// build metadata without their '-' and '+' (empty when absent).
struct Parts {
  std::string_view major;
  std::string_view minor;
  std::string_view patch;
  std::string_view prerelease;
  std::string_view build;
};

[[nodiscard]] std::expected<Parts, grammar::ParseError> read(std::string_view text);

// SemVer precedence: numbers by value, a release above its pre-releases,
// pre-release identifiers one by one (numeric ones by value and below
// alphanumeric ones, which compare as ASCII; fewer identifiers first when
// the others are equal); build metadata takes no part.
[[nodiscard]] std::weak_ordering compare(const Parts& a, const Parts& b) noexcept;

// The order key (tolva::scheme::append_order_key): each number (below 200
// one byte, else its digit count and digits), then 0x03 for a release, else
// each pre-release
// identifier as 0x01 and a number or 0x02 and its text.
void append_order_key(std::string& out, const Parts& v);

}  // namespace tolva::semver
