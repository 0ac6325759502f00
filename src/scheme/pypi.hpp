#pragma once

#include <compare>
#include <expected>
#include <string>
#include <string_view>
#include <vector>

#include "row.hpp"

// Python package versions: [N!]N(.N)*[{a|b|rc}N][.postN][.devN][+local],
// read in every spelling Python's packaging tools accept (case, '-', '_' and
// '.' separators, long pre-release names, "1.0-1" for a post-release, a 'v'),
// and ordered as those tools order them. What the scheme's files share.
namespace tolva::scheme::detail::pypi {

// The pre-release phases in key order: a dev-release of the release itself,
// alpha, beta, candidate, then the release.
enum Phase : std::uint8_t { dev_only, alpha, beta, candidate, final };

// Views into the text read.
struct Parts {
  std::string_view epoch;    // digits; empty: 0
  std::string_view release;  // numbers and dots as written
  Phase pre = final;
  std::string_view pre_n, post_n, dev_n;  // digits; empty: 0
  bool post = false, dev = false;
  std::string_view local;  // as written after '+'
  bool wildcard = false;   // ".*" ended an operand that allows it

  bool prerelease() const noexcept { return pre != final || dev; }
};

// Reads a version; with `wildcard`, an operand that may end in ".*".
std::expected<Parts, ParseError> read(std::string_view text, bool wildcard);

inline char lower(char c) noexcept { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
inline bool is_separator(char c) noexcept { return c == '.' || c == '-' || c == '_'; }
inline bool all_digits(std::string_view s) noexcept {
  return s.find_first_not_of("0123456789") == std::string_view::npos;
}

// Calls `each(segment)` for each run between separators.
template <class Each>
void for_each_segment(std::string_view s, Each each) {
  for (std::size_t at = 0, end = 0; at <= s.size() && !s.empty(); at = end + 1) {
    end = at;
    while (end < s.size() && !is_separator(s[end])) ++end;
    each(s.substr(at, end - at));
  }
}

// Offsets into a key, for the bounds a range makes of an operand.
struct KeyMarks {
  std::size_t release_end = 0;  // after the last release number
  std::size_t post = 0;         // the post-release mark
  std::size_t local = 0;        // the first local byte
};

// A key a range needs, and where its parts begin.
struct MadeKey {
  std::string key;
  KeyMarks marks;
};
MadeKey made_key(const Parts& v);

Keyed append_key(std::string& out, std::string_view text, const Order& order);
std::size_t key_size_bound(std::size_t size, const Order& order) noexcept;

// packaging's order, written apart from the key.
std::weak_ordering compare(const Parts& a, const Parts& b) noexcept;

// The normal form and the parts, as packaging prints them.
std::expected<std::vector<Field>, ParseError> fields(std::string_view text, const Order& order);

// A specifier set: specifiers joined by commas.
Read read_range(grammar::RangeText& in, const Order& order, KeyRange& out);

}  // namespace tolva::scheme::detail::pypi
