#include <gtest/gtest.h>

#include <random>
#include <ranges>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tolva/parse.hpp"
#include "tolva/scheme/order.hpp"
#include "tolva/values/order_key.hpp"

namespace tolva {
namespace {

using P = grammar::ExpectedPattern;

// A range, the versions in it and those out of it (each list split at blanks).
struct Case {
  std::string_view range;
  std::string_view in;
  std::string_view out;
  RangeOptions options = {};
};
constexpr RangeOptions pre{.include_prerelease = true};
constexpr RangeOptions numeric{.parts = PartOrder::numeric};

class RangeContains : public ::testing::TestWithParam<Case> {};

TEST_P(RangeContains, as_the_table_says) {
  const Case& c = GetParam();
  const auto range = parse_range(c.range);
  ASSERT_TRUE(range.has_value()) << explain(range.error(), c.range);
  for (const auto& [list, in] : {std::pair(c.in, true), std::pair(c.out, false)}) {
    for (const auto word : std::views::split(list, ' ')) {
      const std::string_view text(word.begin(), word.end());
      const auto v = parse(text);
      ASSERT_TRUE(v.has_value()) << text;
      EXPECT_EQ(contains(*range, *v, c.options), in) << c.range << " " << text;
      // tolva's order tests keys as the range tests values.
      const Order order{Scheme::tolva, std::nullopt, c.options.parts};
      const auto keyed = scheme::read_range(c.range, order, c.options.include_prerelease);
      EXPECT_EQ(scheme::contains(*keyed, text), in) << c.range << " " << text;
    }
  }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Comparators, RangeContains, ::testing::Values(
    Case{"<1.2.3", "1.2.2", "1.2.3"}, Case{"<=1.2.3", "1.2.3", "1.2.4"},
    Case{">1.2.3", "1.2.4", "1.2.3"}, Case{">= 1.2.3", "1.2.3", "1.2.2 1.2.3.4"},
    Case{"=1.2.3", "1.2.3+b.1", "1.2.4"}, Case{"1.2.3", "1.2.3", "1.2.4"},
    Case{"!=1.2.3", "1.2.4", "1.2.3 1.2"}, Case{"=nightly", "nightly", "1.2.3"},
    // A partial version is read as tolva reads it: dot-separated, whose parts
    // are texts unless numeric.
    Case{">=1.2 <1.10", "", "1.2 1.9 1.3.0"}, Case{">=1.2 <1.10", "1.2 1.9", "1.10", numeric},
    Case{">=1.2.3 <1.2.3", "", "1.2.3"}, Case{">=1.0.0,<2.0.0", "1.5.0", "2.0.0"},
    Case{"\t>1 , <3\t", "2", "3"}, Case{"1.x||>=3", "1.5.0 3.1", "2.0.0"}));

INSTANTIATE_TEST_SUITE_P(SemVerForms, RangeContains, ::testing::Values(
    Case{"^1.2.3", "1.2.3 1.9.9", "1.2.2 2.0.0"}, Case{"^1.2.3", "", "2.0.0-rc.1", pre},
    Case{"^0.2.3", "0.2.9", "0.3.0"}, Case{"^0.0.3", "0.0.3", "0.0.4"},
    Case{"^0.0.x", "0.0.9", "0.1.0"}, Case{"^0.0", "0.0.0", "0.1.0"},
    Case{"^0", "0.9.9", "1.0.0"}, Case{"^1.2", "1.2.0 1.9.0", "1.1.9 2.0.0"},
    Case{"~1.2.3", "1.2.9", "1.3.0"}, Case{"~1", "1.9.0", "2.0.0"},
    Case{"~v1.2", "1.2.0", "1.3.0"}, Case{"^4294967295.0.0", "4294967295.9.9", ""},
    Case{"~4294967295.4294967295", "4294967295.4294967295.7", ""},
    Case{"1.2.x", "1.2.0", "1.3.0 1.2.0-rc"}, Case{"1.X", "1.2.0-rc", "", pre},
    Case{"1.2.*", "1.2.9", "1.3.0"}, Case{"*", "1.2.3", "1.2.3-rc 1.2"},
    Case{"", "0.0.0", ""}, Case{"x", "", "1.2"}, Case{">1.2.x", "1.3.0", "1.2.9"},
    Case{"<1.2.x", "1.1.9", "1.2.0-a", pre}, Case{"<=1.2.x", "1.2.9", "1.3.0"},
    Case{"!=1.2.x", "1.1.0 1.3.0", "1.2.5"}, Case{">*", "", "0.0.0"},
    Case{"<=*", "7.0.0", ""}, Case{"!=*", "", "7.0.0"},
    Case{"1.2.3 - 2.3.4", "1.2.3 2.3.4", "2.3.5"}, Case{"1.2 - 2", "2.9.9", "1.1.9 3.0.0"},
    Case{"* - 2", "0.0.0", ""}, Case{"1.2.3.4 - 1.2.3.9", "1.2.3.5", "1.2.3.10"}));

INSTANTIATE_TEST_SUITE_P(PreReleases, RangeContains, ::testing::Values(
    Case{">1.2.3-alpha.3", "1.2.3-alpha.7 3.4.5", "3.4.5-alpha.9"},
    Case{">1.2.3-alpha.3", "3.4.5-alpha.9", "", pre},
    Case{"<2 || >=1.2.3-rc.1 <1.2.4", "1.2.3-rc.2", ""},
    Case{">=1.2.3-rc.1 <1.2.4 || >=2", "", "1.2.4-rc.2"},
    Case{"1.2.3-rc.1 - 1.2.3", "1.2.3-rc.2", ""},
    Case{"^1.2.3-beta.2", "", "1.2.3-beta.10 1.2.4-beta.3"},
    Case{"^1.2.3-beta.2", "1.2.3-beta.10", "", numeric},
    Case{">=240.0.0-rc.1 <300.0.0", "240.0.0-rc.2 250.0.0", "240.0.1-rc.1 241.0.0-rc.1 239.0.0"}));
// clang-format on

struct Bad {
  std::string_view range;
  std::size_t start;
  List<P> expected;
  grammar::FoundKind found = grammar::FoundKind::Character;
};

class RangeRejects : public ::testing::TestWithParam<Bad> {};

TEST_P(RangeRejects, at_the_place_the_table_says) {
  const Bad& b = GetParam();
  const auto range = parse_range(b.range);
  ASSERT_FALSE(range.has_value()) << b.range;
  EXPECT_EQ(range.error().span.start, b.start) << b.range;
  EXPECT_EQ(range.error().expected, b.expected) << explain(range.error(), b.range);
  EXPECT_EQ(range.error().found_kind, b.found);
  // What stands at the place is found there, the end only at the end.
  EXPECT_EQ(range.error().found.has_value(), b.start < b.range.size()) << b.range;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, RangeRejects, ::testing::Values(
    Bad{">=", 2, {P::RangeOperand}}, Bad{">= ,1", 3, {P::RangeOperand}},
    Bad{"1 ||", 4, {P::Comparator}}, Bad{"|| 1", 0, {P::Comparator}},
    Bad{"1 | 2", 3, {P::TokenBar}}, Bad{"!1", 1, {P::TokenEquals}},
    Bad{"1,,2", 2, {P::Comparator}}, Bad{"1 ,", 3, {P::Comparator}},
    Bad{">=1 - 2", 4, {P::Comparator}}, Bad{"1 -", 3, {P::RangeOperand}},
    Bad{"^foo", 1, {P::TokenV, P::Integer}},
    Bad{">=1.2.3$", 7, {P::Digit, P::TokenHyphen, P::TokenPlus, P::EndOfInput, P::PartChar, P::TokenDot}},
    Bad{"1 4294967296.x", 2, {P::Integer}, grammar::FoundKind::NumberTooLarge},
    Bad{"~ 1.4294967296", 4, {P::Integer}, grammar::FoundKind::NumberTooLarge},
    Bad{"1. 2", 2, {P::Integer, P::PartChar}}, Bad{"1.,2", 2, {P::Integer, P::PartChar}},
    Bad{"1.||2", 2, {P::Integer, P::PartChar}}, Bad{"1.", 2, {P::Integer, P::PartChar}}));
// clang-format on

// Texts of the range's own characters, operands and ill-formed bytes: each
// reads, or fails inside the text with a report that can be drawn.
TEST(RangeReader, any_text_reads_or_fails_inside_it) {
  constexpr std::string_view alphabet = " \t,|-<>=!^~10.9xX*v+a\xff";
  std::mt19937 random(11);
  for (int i = 0; i < 20000; ++i) {
    std::string text(random() % 9, ' ');
    for (char& c : text) c = alphabet[random() % alphabet.size()];
    const auto range = parse_range(text);
    if (range) continue;
    ASSERT_LE(range.error().span.start, range.error().span.end) << text;
    ASSERT_LE(range.error().span.end, text.size()) << text;
    ASSERT_FALSE(range.error().expected.empty()) << text;
    ASSERT_TRUE(explain(range.error(), text).starts_with("Error: ")) << text;
  }
}

}  // namespace
}  // namespace tolva
