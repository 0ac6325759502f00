#pragma once

#include <span>

namespace tolva::text::tables {

// An inclusive range of code points.
struct Range {
  char32_t first;
  char32_t last;
};

// Sorted, disjoint, non-adjacent ranges of non-ASCII code points; defined in
// tables.generated.cpp (tools/gen_unicode_tables.py).
extern const std::span<const Range> xid_start;
extern const std::span<const Range> xid_continue;
extern const std::span<const Range> grapheme_extend;
extern const std::span<const Range> white_space;
// General category Cc, Cf, Cs, Co, Cn, Zl, Zp or Zs.
extern const std::span<const Range> escaped_category;
// General category Cf (format characters).
extern const std::span<const Range> format;
// Characters a terminal draws in no column, and those it draws in two.
extern const std::span<const Range> zero_width;
extern const std::span<const Range> wide;

}  // namespace tolva::text::tables
