#include "text/properties.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace tolva::text {
namespace {

struct Known {
  char32_t c;
  bool xid_start;
  bool xid_continue;
  bool grapheme_extend;
  bool white_space;
  bool escaped;
  int width;
};

std::string name_of(char32_t c) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "U_%04X", static_cast<unsigned>(c));
  return buffer;
}

class KnownCharacter : public testing::TestWithParam<Known> {};

TEST_P(KnownCharacter, has_its_properties) {
  const Known& k = GetParam();
  EXPECT_EQ(is_xid_start(k.c), k.xid_start);
  EXPECT_EQ(is_xid_continue(k.c), k.xid_continue);
  EXPECT_EQ(is_grapheme_extend(k.c), k.grapheme_extend);
  EXPECT_EQ(is_white_space(k.c), k.white_space);
  EXPECT_EQ(is_escaped_category(k.c), k.escaped);
  EXPECT_EQ(display_width(k.c), k.width);
}

// Columns: start, continue, grapheme extend, white space, escaped, width.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    unicode_properties, KnownCharacter,
    testing::Values(
        // ASCII, answered without the tables.
        Known{'a', true, true, false, false, false, 1},
        Known{'Z', true, true, false, false, false, 1},
        Known{'_', false, true, false, false, false, 1},
        Known{'0', false, true, false, false, false, 1},
        Known{'-', false, false, false, false, false, 1},
        Known{' ', false, false, false, true, false, 1},
        Known{'\t', false, false, false, true, true, 0},
        Known{'\r', false, false, false, true, true, 0},
        Known{'\0', false, false, false, false, true, 0},
        Known{0x7F, false, false, false, false, true, 0},
        // Latin-1: C1 control, no-break space, soft hyphen, é.
        Known{0x85, false, false, false, true, true, 0},
        Known{0xA0, false, false, false, true, true, 1},
        Known{0xAD, false, false, false, false, true, 1},
        Known{0xE9, true, true, false, false, false, 1},
        // Marks: nonspacing, enclosing, spacing, and a wide nonspacing one.
        Known{0x301, false, true, true, false, false, 0},
        Known{0x20DD, false, false, true, false, false, 0},
        Known{0x903, false, true, false, false, false, 1},
        Known{0x302A, false, true, true, false, false, 0},
        // Identifier classes that differ from the letter categories.
        Known{0x2118, true, true, false, false, false, 1},
        Known{0x309B, false, false, false, false, false, 2},
        Known{0x0E33, false, true, false, false, false, 1},
        // Zero-width format characters and separators.
        Known{0x200B, false, false, false, false, true, 0},
        Known{0x200C, false, false, true, false, true, 0},
        Known{0xFEFF, false, false, false, false, true, 0},
        Known{0x2028, false, false, false, true, true, 1},
        Known{0x2029, false, false, false, true, true, 1},
        // East Asian: ideograph, fullwidth letter, ideographic space,
        // halfwidth punctuation, emoji.
        Known{0x4E2D, true, true, false, false, false, 2},
        Known{0xFF21, true, true, false, false, false, 2},
        Known{0x3000, false, false, false, true, true, 2},
        Known{0xFF61, false, false, false, false, false, 1},
        Known{0x1F600, false, false, false, false, false, 2},
        // Hangul: leading consonants are wide, medial vowels and final
        // consonants take no column.
        Known{0x115F, true, true, false, false, false, 2},
        Known{0x1160, true, true, false, false, false, 0},
        Known{0x11FF, true, true, false, false, false, 0},
        Known{0x1200, true, true, false, false, false, 1},
        // Unassigned, including the wide defaults of planes 2 and 3.
        Known{0x0378, false, false, false, false, true, 1},
        Known{0x2FFFD, false, false, false, false, true, 2},
        Known{0x40000, false, false, false, false, true, 1},
        Known{0x10FFFF, false, false, false, false, true, 1},
        // Private use and surrogates.
        Known{0xE000, false, false, false, false, true, 1},
        Known{0xF0000, false, false, false, false, true, 1},
        Known{0xD800, false, false, false, false, true, 1},
        Known{0xDFFF, false, false, false, false, true, 1},
        // Past the last code point.
        Known{0x110000, false, false, false, false, true, 1},
        Known{0xFFFFFFFF, false, false, false, false, true, 1}),
    [](const testing::TestParamInfo<Known>& info) { return name_of(info.param.c); });
// clang-format on

TEST(unicode_properties, xid_start_implies_xid_continue) {
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    if (is_xid_start(c)) {
      ASSERT_TRUE(is_xid_continue(c)) << name_of(c);
    }
  }
}

}  // namespace
}  // namespace tolva::text
