#include "cli/docs/roff.hpp"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

using tolva::cli::docs::append_roff_text;

struct Case {
  std::string_view text;
  std::string_view lines;
};

class RoffText : public testing::TestWithParam<Case> {};

TEST_P(RoffText, IsEscapedAndGuarded) {
  std::string out = "before\n";
  append_roff_text(out, GetParam().text);
  EXPECT_EQ(out, "before\n" + std::string(GetParam().lines));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RoffText,
    testing::Values(Case{"", ""}, Case{"plain", "plain\n"}, Case{"--kind -k", "\\-\\-kind \\-k\n"},
                    Case{"a\\b\\", "a\\eb\\e\n"}, Case{".x", "\\&.x\n"}, Case{"'x'", "\\&'x'\n"},
                    Case{"x.y 'z'", "x.y 'z'\n"}, Case{"  .x", "\\&.x\n"},
                    Case{"a\n.b\n'c", "a\n\\&.b\n\\&'c\n"}, Case{"a\n\n \nb\n", "a\nb\n"},
                    Case{"\\.x", "\\e.x\n"}, Case{"-.x", "\\-.x\n"}));

}  // namespace
