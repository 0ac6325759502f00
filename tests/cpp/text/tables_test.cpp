#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>

#include "tables.hpp"
#include "text/properties.hpp"

namespace tolva::text {
namespace {

struct Table {
  const char* name;
  std::span<const tables::Range> ranges;
  bool (*member)(char32_t);
};

bool zero_width(char32_t c) { return display_width(c) == 0; }
bool wide(char32_t c) { return display_width(c) == 2; }

class GeneratedTable : public testing::TestWithParam<Table> {};

// The lookup relies on this shape: a binary search over sorted ranges that
// never touch, all above the ASCII fast path.
TEST_P(GeneratedTable, is_sorted_disjoint_and_non_ascii) {
  const auto ranges = GetParam().ranges;
  ASSERT_FALSE(ranges.empty());
  EXPECT_GE(ranges.front().first, 0x80u);
  EXPECT_LE(ranges.back().last, 0x10FFFFu);
  for (std::size_t i = 0; i < ranges.size(); ++i) {
    EXPECT_LE(ranges[i].first, ranges[i].last) << "range " << i;
    if (i > 0) {
      EXPECT_GT(ranges[i].first, ranges[i - 1].last + 1) << "range " << i;
    }
  }
}

// Every range edge is found by the lookup, and the code points just
// outside it are not.
TEST_P(GeneratedTable, lookup_finds_exactly_the_range_edges) {
  const Table& table = GetParam();
  for (const auto& r : table.ranges) {
    const auto first = static_cast<std::uint32_t>(r.first);
    const auto last = static_cast<std::uint32_t>(r.last);
    EXPECT_TRUE(table.member(r.first)) << std::hex << first;
    EXPECT_TRUE(table.member(r.last)) << std::hex << last;
    if (r.first > 0x80) {
      EXPECT_FALSE(table.member(r.first - 1)) << std::hex << first - 1;
    }
    if (r.last < 0x10FFFF) {
      EXPECT_FALSE(table.member(r.last + 1)) << std::hex << last + 1;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    unicode_tables, GeneratedTable,
    testing::Values(Table{"xid_start", tables::xid_start, is_xid_start},
                    Table{"xid_continue", tables::xid_continue, is_xid_continue},
                    Table{"grapheme_extend", tables::grapheme_extend, is_grapheme_extend},
                    Table{"white_space", tables::white_space, is_white_space},
                    Table{"escaped_category", tables::escaped_category, is_escaped_category},
                    Table{"zero_width", tables::zero_width, zero_width},
                    Table{"wide", tables::wide, wide}),
    [](const testing::TestParamInfo<Table>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tolva::text
