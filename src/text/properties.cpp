#include "properties.hpp"

#include <algorithm>
#include <iterator>
#include <span>

#include "tables.hpp"

namespace tolva::text {
namespace {

constexpr char32_t kAsciiEnd = 0x80;
constexpr char32_t kMaxCodePoint = 0x10FFFF;

// True when `c` lies in one of the sorted, disjoint `ranges`.
bool in_table(std::span<const tables::Range> ranges, char32_t c) noexcept {
  auto after =
      std::upper_bound(ranges.begin(), ranges.end(), c,
                       [](char32_t value, const tables::Range& r) { return value < r.first; });
  return after != ranges.begin() && c <= std::prev(after)->last;
}

constexpr bool is_ascii_letter(char32_t c) noexcept {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

constexpr bool is_ascii_control(char32_t c) noexcept { return c < 0x20 || c == 0x7F; }

}  // namespace

bool is_xid_start(char32_t c) noexcept {
  if (c < kAsciiEnd) return is_ascii_letter(c);
  return in_table(tables::xid_start, c);
}

bool is_xid_continue(char32_t c) noexcept {
  if (c < kAsciiEnd) return is_ascii_letter(c) || (c >= '0' && c <= '9') || c == '_';
  return in_table(tables::xid_continue, c);
}

bool is_grapheme_extend(char32_t c) noexcept {
  return c >= kAsciiEnd && in_table(tables::grapheme_extend, c);
}

bool is_white_space(char32_t c) noexcept {
  if (c < kAsciiEnd) return c == ' ' || (c >= '\t' && c <= '\r');
  return in_table(tables::white_space, c);
}

// The space is category Zs but is always written as itself, so it is the
// one member of these categories reported as not escaped. A value beyond
// U+10FFFF is no character at all and is escaped like an unassigned one.
bool is_escaped_category(char32_t c) noexcept {
  if (c < kAsciiEnd) return is_ascii_control(c);
  return c > kMaxCodePoint || in_table(tables::escaped_category, c);
}

bool is_format(char32_t c) noexcept { return c >= kAsciiEnd && in_table(tables::format, c); }

int display_width(char32_t c) noexcept {
  if (c < kAsciiEnd) return is_ascii_control(c) ? 0 : 1;
  if (in_table(tables::zero_width, c)) return 0;
  return in_table(tables::wide, c) ? 2 : 1;
}

}  // namespace tolva::text
