#pragma once

#include <compare>
#include <expected>
#include <string>
#include <string_view>

#include "tolva/grammar/parse_error.hpp"

// The debian scheme: Debian package versions and dpkg's order, as the
// deb-version manual page describes them.
//
//   [epoch:]upstream[-revision]
//
// The epoch is digits before the first colon (0 when absent); the revision
// follows the last hyphen. The upstream part starts with a digit and holds
// letters, digits and . + - ~ : (a hyphen only with a revision, a colon only
// with an epoch); the revision is non-empty and holds letters, digits and
// . + ~. The epoch may have any number of digits.
//
//   tolva::debian::compare(*tolva::debian::read("1.2.3-1"),
//                          *tolva::debian::read("1.2.3")) > 0
namespace tolva::debian {

// Views into the text read; each is empty when absent.
struct Parts {
  std::string_view epoch;
  std::string_view upstream;
  std::string_view revision;
};

[[nodiscard]] std::expected<Parts, grammar::ParseError> read(std::string_view text);

// The epoch by value; then the upstream part, then the revision, each as
// alternating runs of non-digits, compared byte by byte where '~' sorts
// before everything (even the end of the run), then the end, then letters,
// then every other byte, and of digits, compared by value (an absent run
// counts as 0). An absent revision equals "0".
[[nodiscard]] std::weak_ordering compare(const Parts& a, const Parts& b) noexcept;

// The order key (tolva::scheme::append_order_key): the epoch as a number,
// then the upstream part and the revision, each as pairs of a non-digit run
// (mapped bytes, then 0x02; the upstream part's first run, always empty, is
// left out) and a number, then 0x02.
void append_order_key(std::string& out, const Parts& v);

}  // namespace tolva::debian
