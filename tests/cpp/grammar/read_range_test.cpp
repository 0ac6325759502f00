#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "tolva/parse.hpp"

namespace tolva {
namespace {

using P = grammar::ExpectedPattern;

struct Case {
  std::string_view range;
  std::string_view version;
  bool in;
  RangeOptions options = {};
};
constexpr RangeOptions pre{.include_prerelease = true};
constexpr RangeOptions numeric{.parts = PartOrder::numeric};

class RangeContains : public ::testing::TestWithParam<Case> {};

TEST_P(RangeContains, as_the_table_says) {
  const Case& c = GetParam();
  const auto range = parse_range(c.range);
  ASSERT_TRUE(range.has_value()) << explain(range.error(), c.range);
  const auto v = parse(c.version);
  ASSERT_TRUE(v.has_value());
  EXPECT_EQ(contains(*range, *v, c.options), c.in) << c.range << " " << c.version;
}

INSTANTIATE_TEST_SUITE_P(
    Comparators, RangeContains,
    ::testing::Values(Case{"<1.2.3", "1.2.2", true}, Case{"<1.2.3", "1.2.3", false},
                      Case{"<=1.2.3", "1.2.3", true}, Case{"<=1.2.3", "1.2.4", false},
                      Case{">1.2.3", "1.2.4", true}, Case{">1.2.3", "1.2.3", false},
                      Case{">= 1.2.3", "1.2.3", true}, Case{">=1.2.3", "1.2.2", false},
                      Case{"=1.2.3", "1.2.3+b.1", true}, Case{"1.2.3", "1.2.4", false},
                      Case{"!=1.2.3", "1.2.4", true}, Case{"!=1.2.3", "1.2.3", false},
                      // Only a version of the operand's kind satisfies a comparator.
                      Case{">=1.2.3", "1.2.3.4", false}, Case{"!=1.2.3", "1.2", false},
                      Case{"=nightly", "nightly", true},
                      // A partial version is read as tolva reads it: dot-separated.
                      Case{">=1.2 <1.10", "1.9", false}, Case{">=1.2 <1.10", "1.9", true, numeric},
                      Case{">=1.2", "1.3.0", false}, Case{">=1.2.3 <1.2.3", "1.2.3", false},
                      Case{">=1.0.0,<2.0.0", "1.5.0", true}, Case{"\t>1 , <3\t", "2", true},
                      Case{"1.x||>=3", "3.1", true}, Case{"1.x || >=3", "2.0.0", false}));

INSTANTIATE_TEST_SUITE_P(
    SemVerForms, RangeContains,
    ::testing::Values(
        Case{"^1.2.3", "1.9.9", true}, Case{"^1.2.3", "1.2.2", false},
        Case{"^1.2.3", "2.0.0", false}, Case{"^1.2.3", "2.0.0-rc.1", false, pre},
        Case{"^0.2.3", "0.2.9", true}, Case{"^0.2.3", "0.3.0", false},
        Case{"^0.0.3", "0.0.3", true}, Case{"^0.0.3", "0.0.4", false},
        Case{"^0.0.x", "0.0.9", true}, Case{"^0.0", "0.1.0", false}, Case{"^0", "0.9.9", true},
        Case{"^0", "1.0.0", false}, Case{"^1.2", "1.9.0", true}, Case{"^1.2", "1.1.9", false},
        Case{"^1.2", "2.0.0", false}, Case{"~1.2.3", "1.2.9", true}, Case{"~1.2.3", "1.3.0", false},
        Case{"~1", "1.9.0", true}, Case{"~1", "2.0.0", false}, Case{"~1.2", "1.3.0", false},
        Case{"~v1.2", "1.2.0", true}, Case{"^4294967295.0.0", "4294967295.9.9", true},
        Case{"~4294967295.4294967295", "4294967295.4294967295.7", true},
        Case{"1.2.x", "1.2.0", true}, Case{"1.2.*", "1.3.0", false}, Case{"1.X", "1.2.0-rc", false},
        Case{"1.x", "1.2.0-rc", true, pre}, Case{"*", "1.2.3", true}, Case{"", "0.0.0", true},
        Case{"x", "1.2", false}, Case{"*", "1.2.3-rc", false}, Case{">1.2.x", "1.3.0", true},
        Case{">1.2.x", "1.2.9", false}, Case{"<1.2.x", "1.1.9", true},
        Case{"<1.2.x", "1.2.0-a", false, pre}, Case{"<=1.2.x", "1.2.9", true},
        Case{"<=1.2.x", "1.3.0", false}, Case{"!=1.2.x", "1.3.0", true},
        Case{"!=1.2.x", "1.1.0", true}, Case{"!=1.2.x", "1.2.5", false}, Case{">*", "0.0.0", false},
        Case{"<=*", "7.0.0", true}, Case{"!=*", "7.0.0", false},
        Case{"1.2.3 - 2.3.4", "2.3.4", true}, Case{"1.2.3 - 2.3.4", "2.3.5", false},
        Case{"1.2 - 2", "2.9.9", true}, Case{"1.2 - 2", "3.0.0", false},
        Case{"1.2 - 2", "1.1.9", false}, Case{"* - 2", "0.0.0", true},
        Case{"1.2.3.4 - 1.2.3.9", "1.2.3.5", true}));

INSTANTIATE_TEST_SUITE_P(PreReleases, RangeContains,
                         ::testing::Values(Case{">1.2.3-alpha.3", "1.2.3-alpha.7", true},
                                           Case{">1.2.3-alpha.3", "3.4.5-alpha.9", false},
                                           Case{">1.2.3-alpha.3", "3.4.5-alpha.9", true, pre},
                                           Case{">1.2.3-alpha.3", "3.4.5", true},
                                           Case{"<2 || >=1.2.3-rc.1 <1.2.4", "1.2.3-rc.2", true},
                                           Case{">=1.2.3-rc.1 <1.2.4 || >=2", "1.2.4-rc.2", false},
                                           Case{"1.2.3-rc.1 - 1.2.3", "1.2.3-rc.2", true},
                                           Case{"^1.2.3-beta.2", "1.2.3-beta.10", false},
                                           Case{"^1.2.3-beta.2", "1.2.3-beta.10", true, numeric},
                                           Case{"^1.2.3-beta.2", "1.2.4-beta.3", false}));

struct Bad {
  std::string_view range;
  std::size_t start;
  std::vector<P> expected;
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
}

INSTANTIATE_TEST_SUITE_P(
    Table, RangeRejects,
    ::testing::Values(Bad{">=", 2, {P::RangeOperand}}, Bad{">= ,1", 3, {P::RangeOperand}},
                      Bad{"1 ||", 4, {P::Comparator}}, Bad{"|| 1", 0, {P::Comparator}},
                      Bad{"1 | 2", 3, {P::TokenBar}}, Bad{"!1", 1, {P::TokenEquals}},
                      Bad{"1,,2", 2, {P::Comparator}}, Bad{"1 ,", 3, {P::Comparator}},
                      Bad{">=1 - 2", 4, {P::Comparator}}, Bad{"1 -", 3, {P::RangeOperand}},
                      Bad{"^foo", 1, {P::TokenV, P::Integer}},
                      Bad{">=1.2.3$",
                          7,
                          {P::Digit, P::TokenHyphen, P::TokenPlus, P::EndOfInput, P::PartChar,
                           P::TokenDot}},
                      Bad{"1 4294967296.x", 2, {P::Integer}, grammar::FoundKind::NumberTooLarge},
                      Bad{"~ 1.4294967296", 4, {P::Integer}, grammar::FoundKind::NumberTooLarge}));

// The report points into the range text with the range's own words.
TEST(RangeReport, names_what_was_expected) {
  const auto range = parse_range("^1.2 ||");
  ASSERT_FALSE(range.has_value());
  EXPECT_NE(explain(range.error(), "^1.2 ||").find("found end of input expected comparator"),
            std::string::npos);
}

// Texts of the range's own characters, operands and ill-formed bytes: each
// reads, or fails inside the text with a report that can be drawn.
TEST(RangeReader, any_text_reads_or_fails_inside_it) {
  constexpr std::string_view alphabet = " \t,|-<>=!^~10.9xX*v+a\xff";
  std::mt19937 random(11);
  for (int i = 0; i < 20000; ++i) {
    std::string text(random() % 9, ' ');
    for (char& c : text) c = alphabet[random() % alphabet.size()];
    const auto range = parse_range(text);
    if (range) {
      EXPECT_FALSE(range->alternatives.empty()) << text;
      continue;
    }
    ASSERT_LE(range.error().span.start, range.error().span.end) << text;
    ASSERT_LE(range.error().span.end, text.size()) << text;
    ASSERT_FALSE(range.error().expected.empty()) << text;
    ASSERT_TRUE(explain(range.error(), text).starts_with("Error: ")) << text;
  }
}

}  // namespace
}  // namespace tolva
