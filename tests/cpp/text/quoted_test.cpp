#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "text/quoted.hpp"

namespace tolva {
namespace {

using namespace std::string_view_literals;

struct QuoteCase {
  std::string_view text;
  std::string_view quoted;
};

void PrintTo(const QuoteCase& c, std::ostream* os) { *os << c.quoted; }

class Quoted : public ::testing::TestWithParam<QuoteCase> {};

TEST_P(Quoted, escapes) {
  std::string out;
  append_quoted(out, GetParam().text);
  EXPECT_EQ(out, GetParam().quoted);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Ascii, Quoted,
    ::testing::Values(
        QuoteCase{"", R"("")"},
        QuoteCase{"1.2.3-rc_1 x~", R"("1.2.3-rc_1 x~")"},
        QuoteCase{"a\"b\t", R"("a\"b\t")"},
        QuoteCase{"\\", R"("\\")"},
        QuoteCase{"\n\r\t\0"sv, R"("\n\r\t\0")"},
        QuoteCase{"it's", R"("it's")"},
        QuoteCase{"\x01\x1b\x1f\x7f", R"("\u{1}\u{1b}\u{1f}\u{7f}")"}));
// clang-format on

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Unicode, Quoted,
    ::testing::Values(
        QuoteCase{"\u0301", R"("\u{301}")"},             // combining acute: Grapheme_Extend
        QuoteCase{"e\u0301", R"("e\u{301}")"},
        QuoteCase{"\u0085", R"("\u{85}")"},              // Cc
        QuoteCase{"\u00ad\u200b\ufeff", R"("\u{ad}\u{200b}\u{feff}")"},  // Cf
        QuoteCase{"\U000e0001", R"("\u{e0001}")"},       // Cf, four bytes
        QuoteCase{"\ue000", R"("\u{e000}")"},            // Co
        QuoteCase{"\xcd\xb8", R"("\u{378}")"},           // Cn
        QuoteCase{"\xf4\x8f\xbf\xbf", R"("\u{10ffff}")"},  // Cn
        QuoteCase{"\u2028\u2029", R"("\u{2028}\u{2029}")"},  // Zl, Zp
        QuoteCase{"\u00a0\u3000", R"("\u{a0}\u{3000}")"},  // Zs other than the space
        QuoteCase{"\u00e9\u65e5\U0001f600", "\"\u00e9\u65e5\U0001f600\""}));
// clang-format on

// Bytes that start no well-formed sequence are kept, escaped one by one.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Malformed, Quoted,
    ::testing::Values(
        QuoteCase{"\xff", R"("\xff")"},
        QuoteCase{"a\xc3", R"("a\xc3")"},
        QuoteCase{"\xc0\xaf", R"("\xc0\xaf")"},
        QuoteCase{"\xed\xa0\x80", R"("\xed\xa0\x80")"},
        QuoteCase{"\x80\xc3\xa9", "\"\\x80\u00e9\""}));
// clang-format on

}  // namespace
}  // namespace tolva
