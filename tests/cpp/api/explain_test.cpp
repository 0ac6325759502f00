#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>

#include "tolva/explain.hpp"

namespace tolva {
namespace {

struct Row {
  std::string_view text;
  ReportStyle style;
};

class Explain : public ::testing::TestWithParam<Row> {};

// explain() heads the report with the style's source and first line, and
// draws colour only when the style asks for it.
TEST_P(Explain, draws_in_the_style) {
  const Row& row = GetParam();
  const auto failed = parse_as<SemVer>(row.text);
  ASSERT_FALSE(failed.has_value());
  const std::string report = explain(failed.error(), row.text, row.style);
  const std::string reference =
      "[ " + std::string(row.style.source_name) + ":" + std::to_string(row.style.first_line) + ":";
  if (!row.style.colour) {
    EXPECT_NE(report.find(reference), std::string::npos) << report;
  }
  EXPECT_EQ(report.find('\x1b') != std::string::npos, row.style.colour);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Explain,
    ::testing::Values(Row{"1.2.x", {.source_name = "versions.txt", .first_line = 3}},
                      Row{"1.2.x", {.source_name = "versions.txt", .colour = true}},
                      Row{"", {.source_name = "empty"}},
                      Row{"1.\xe2", {.source_name = "bytes", .first_line = 9}}));

// The header's reference: a source name shows before the line and column,
// and no name shows none, not an empty one.
TEST(Explain, header_names_the_source_only_when_there_is_one) {
  const auto failed = parse_as<SemVer>("1.2.x");
  ASSERT_FALSE(failed.has_value());
  for (auto [name, reference] : {std::pair{"", "\u2500[ 1:5 ]\n"}, {"a", "\u2500[ a:1:5 ]\n"}}) {
    const std::string report = explain(failed.error(), "1.2.x", {.source_name = name});
    EXPECT_NE(report.find(reference), std::string::npos) << report;
  }
}

// An error that does not fit its text gives the failure to draw it.
TEST(Explain, misfit_error_gives_the_failure) {
  const ParseError misfit{.span = {5, 3}, .found = U'x', .expected = {}};
  EXPECT_EQ(explain(misfit, "1.2.x"), "Label start is after its end");
}

}  // namespace
}  // namespace tolva
