#include <gtest/gtest.h>

#include <string_view>

#include "tolva/explain.hpp"

namespace tolva {
namespace {

struct Row {
  std::string_view text;
  bool semver, dotted, other;  // which kinds take the text
  Kind first;                  // what parse() makes of it
};

class ParseAs : public ::testing::TestWithParam<Row> {};

// Each parse_as<K> takes the texts of its kind, and parse() gives the first
// kind that takes the text; the rows sit at the kinds' borders and at the
// 32-bit bound of a number.
TEST_P(ParseAs, takes_its_kind_and_parse_the_first) {
  const Row& row = GetParam();
  EXPECT_EQ(parse_as<SemVer>(row.text).has_value(), row.semver);
  EXPECT_EQ(parse_as<DotSeparated>(row.text).has_value(), row.dotted);
  EXPECT_EQ(parse_as<Other>(row.text).has_value(), row.other);
  const auto v = parse(row.text);
  EXPECT_EQ(v, parse_as<Version>(row.text));
  ASSERT_TRUE(v.has_value());
  EXPECT_EQ(v->kind(), row.first);
}

INSTANTIATE_TEST_SUITE_P(Rows, ParseAs,
                         ::testing::Values(Row{"4294967295.0.0", true, true, false, Kind::semver},
                                           Row{"4294967296.0.0", false, true, false,
                                               Kind::dot_separated},
                                           Row{"1.2.3+b.4", true, false, false, Kind::semver},
                                           Row{"1.2", false, true, false, Kind::dot_separated},
                                           Row{"a_b", false, false, true, Kind::other},
                                           Row{"nightly", false, true, true, Kind::dot_separated}));

}  // namespace
}  // namespace tolva
