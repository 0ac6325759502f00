#include <gtest/gtest.h>

#include <string>

#include "tolva/scheme/order.hpp"

namespace {

using tolva::Scheme;
namespace scheme = tolva::scheme;

// The versions a range holds and the ones it does not, across every bound the
// range makes; node-semver's answers on generated ranges are in
// tests/python/data/node_semver_ranges.tsv.
struct Case {
  Scheme scheme;
  std::string range;
  std::vector<std::string> in;
  std::vector<std::string> out;
  bool include_prerelease = false;
};

class Ranges : public testing::TestWithParam<Case> {};

TEST_P(Ranges, HoldExactly) {
  const Case& c = GetParam();
  auto range = scheme::read_range(c.range, c.scheme, c.include_prerelease);
  ASSERT_TRUE(range.has_value()) << c.range;
  for (const auto& v : c.in) EXPECT_EQ(scheme::contains(*range, v), true) << c.range << " " << v;
  for (const auto& v : c.out) EXPECT_EQ(scheme::contains(*range, v), false) << c.range << " " << v;
}

INSTANTIATE_TEST_SUITE_P(
    Schemes, Ranges,
    testing::Values(
        Case{Scheme::semver, "2.3", {"2.3.0", "2.3.9"}, {"2.4.0-0", "2.4.0", "2.2.9", "2.3.1-a"}},
        Case{Scheme::semver, ">=1", {"1.0.0", "9.0.0"}, {"0.9.9", "1.0.0-rc.1"}},
        Case{Scheme::semver, "<1.2", {"1.1.9"}, {"1.2.0-0", "1.2.0", "1.1.9-rc"}},
        Case{Scheme::semver, "~>1.2.3-rc.1", {"1.2.3-rc.2", "1.2.9"}, {"1.2.4-rc.2", "1.3.0-0"}},
        Case{Scheme::semver, "^0.0.3 || ^0.2", {"0.0.3", "0.2.5"}, {"0.0.4", "0.3.0", "0.1.0"}},
        Case{Scheme::semver,
             "1 - 2.3 || 5.0.0 - 5.1.0-rc.1",
             {"1.0.0", "2.3.9", "5.1.0-rc.1", "5.0.5"},
             {"2.4.0", "0.9.0", "5.1.0", "5.1.0-rc.2"}},
        Case{Scheme::semver, "1 ||", {"0.0.0", "9.9.9"}, {"1.0.0-0"}},
        Case{Scheme::semver,
             ">1.x <=2 || =v3.0.0+build",
             {"2.0.0", "2.9.9", "3.0.0"},
             {"1.9.9", "3.0.0-0"}},
        Case{Scheme::semver, "> 1.2.3 <*", {}, {"1.2.4", "9.0.0"}},
        Case{Scheme::semver, ">=0.0.0 <=0.0.0-beta", {"0.0.0-alpha"}, {"0.0.1"}},
        Case{Scheme::semver, "^1.2.3", {"1.2.3", "1.9.0-beta"}, {"2.0.0-0", "1.2.3-rc"}, true},
        Case{Scheme::semver,
             "^99999999999999999999.x",
             {"99999999999999999999.1.0"},
             {"100000000000000000000.0.0-0"}},
        Case{Scheme::debian,
             ">= 1.0-1 << 2 || =3:1 || !=0 <<0.5",
             {"1.0-1", "1.9", "3:1", "0.1"},
             {"1.0", "2", "2:1", "3:1.0", "0:0"}},
        Case{Scheme::debian, ">>1.0 <=1.0a", {"1.0a", "1.0-1"}, {"1.0", "1.0b"}},
        Case{
            Scheme::debian, ">= 2.36, << 2.37", {"2.36", "2.37~rc1"}, {"2.35.9", "2.37", "2.37-1"}},
        Case{Scheme::natural, ">1.0,<=1.1 || =2", {"1.1", "2.0"}, {"1.0", "1.1.0.1"}},
        Case{Scheme::golang,
             ">=v1.2 <v2, !=v1.5.0 || =v3",
             {"v1.2.0", "v2.0.0-0", "v3.0.0+incompatible"},
             {"v1.2.0-rc.1", "v1.5", "v2", "v3.0.1"}},
        Case{Scheme::nuget, "(1.0, 2.0]", {"1.0.0.1", "2.0.0.0", "2.0-RC"}, {"1.0", "2.0.0.1"}},
        Case{Scheme::nuget, "[1.0-beta]", {"1.0.0.0-BETA"}, {"1.0", "1.0-beta.1"}},
        Case{Scheme::nuget, "1.0", {"1.0.0+meta", "3.0"}, {"1.0-rc"}},
        Case{Scheme::maven, "[1,2],[2,3)", {"1", "2-sp", "2.0.0", "3-rc"}, {"1-SNAPSHOT", "3"}},
        Case{Scheme::maven, "(,1.0],[1.2,)", {"1-0", "1.2-ga", "1-rc"}, {"1-sp", "1.2-rc"}},
        Case{Scheme::maven, "[ 1.0 , 2.0 )", {"1.0", "2.0-alpha"}, {"1.0-rc", "2.0"}},
        Case{Scheme::maven, "1.5", {"0.1", "1.5", "9"}, {}},
        Case{Scheme::natural,
             "<1.0 >=1.0beta || >1.0a <=1.1",
             {"1.0rc1", "1.1", "1.0b"},
             {"1.0alpha", "1.0", "1.0a", "1.1.0.1"}}));

struct BadRange {
  Scheme scheme;
  std::string range;
  std::size_t at;
  std::string expected = "";  // the display texts, joined by '|'; empty: not looked at
};

class BadRanges : public testing::TestWithParam<BadRange> {};

TEST_P(BadRanges, PointAtTheFault) {
  const BadRange& b = GetParam();
  auto range = scheme::read_range(b.range, b.scheme);
  ASSERT_FALSE(range.has_value()) << b.range;
  EXPECT_EQ(range.error().span.start, b.at) << b.range;
  if (b.expected.empty()) return;
  std::string expected;
  for (auto p : range.error().expected) {
    if (!expected.empty()) expected += '|';
    expected += p.shown();
  }
  EXPECT_EQ(expected, b.expected) << b.range;
}

INSTANTIATE_TEST_SUITE_P(
    Schemes, BadRanges,
    testing::Values(BadRange{Scheme::semver, "1.x.2", 4}, BadRange{Scheme::semver, "01", 1},
                    BadRange{Scheme::semver, "1 | 2", 3}, BadRange{Scheme::semver, ">= ", 3},
                    BadRange{Scheme::semver, "1.2.3-01", 8}, BadRange{Scheme::semver, "1 - ", 4},
                    BadRange{Scheme::semver, "1.2.x-a", 5}, BadRange{Scheme::semver, "<<1", 1},
                    BadRange{Scheme::debian, ">=1.0 ||", 8}, BadRange{Scheme::debian, "", 0},
                    BadRange{Scheme::debian, "!1", 1}, BadRange{Scheme::debian, ">= a1", 3},
                    BadRange{Scheme::natural, "1 |", 3}, BadRange{Scheme::natural, ">=1 <<1", 5},
                    BadRange{Scheme::natural, "<", 1},
                    // operators a scheme does not have, refused where they stand
                    BadRange{Scheme::natural, "^1.2", 0, "'<'|'<='|'='|'!='|'>='|'>'|version"},
                    BadRange{Scheme::natural, ">=1 ~1", 4, "'<'|'<='|'='|'!='|'>='|'>'|version"},
                    BadRange{Scheme::natural, "==1", 1, "version"},
                    BadRange{Scheme::natural, "1.2.*", 4, "letter or digit"},
                    BadRange{Scheme::debian, "<1.0", 0, "'<<'|'<='"},
                    BadRange{Scheme::debian, ">= 1, >1.0", 6, "'>='|'>>'"},
                    BadRange{Scheme::debian, ">=1,", 4, "comparator"},
                    BadRange{Scheme::debian, "^1", 0, "'<<'|'<='|'='|'!='|'>='|'>>'|version"},
                    BadRange{Scheme::semver, "!=1.2.3", 0, "version"},
                    BadRange{Scheme::semver, "1.2.3, 1.2.4", 5},
                    BadRange{Scheme::tolva, "~>1.2", 1, "version"},
                    BadRange{Scheme::golang, "^v1.2", 0, "'<'|'<='|'>'|'>='|'='|'!='|version"},
                    BadRange{Scheme::golang, ">=v1.2.", 7}, BadRange{Scheme::golang, "v1 ||", 5},
                    BadRange{Scheme::nuget, "(1.0)", 4, "','"}, BadRange{Scheme::nuget, "[,]", 1},
                    BadRange{Scheme::nuget, "[1.0,2.0", 8}, BadRange{Scheme::nuget, "[1.0] x", 6},
                    BadRange{Scheme::nuget, "[1.0,2147483648]", 5},
                    BadRange{Scheme::maven, "(1.0]", 4, "','"}, BadRange{Scheme::maven, "[]", 1},
                    BadRange{Scheme::maven, "[1.0,1.0)", 5}, BadRange{Scheme::maven, "[2,1]", 3},
                    BadRange{Scheme::maven, "[1,2),[1.9,3)", 7},
                    BadRange{Scheme::maven, "[1,2),(,3)", 7}));

}  // namespace
