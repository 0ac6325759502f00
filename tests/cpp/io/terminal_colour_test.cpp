#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string_view>

#include "tolva/io/terminal_colour.hpp"

using tolva::io::ColourEnvironment;

namespace {

constexpr std::nullopt_t unset = std::nullopt;

struct DecisionCase {
  ColourEnvironment env;
  bool colour;
};

class colour_decision_test : public testing::TestWithParam<DecisionCase> {};

TEST_P(colour_decision_test, follows_the_environment) {
  EXPECT_EQ(tolva::io::colour_allowed(GetParam().env), GetParam().colour);
}

// Fields: CLICOLOR, CLICOLOR_FORCE, NO_COLOR, TERM, standard error is a terminal.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    table, colour_decision_test,
    testing::Values(
        DecisionCase{{unset, unset, unset, "xterm", true}, true},
        DecisionCase{{unset, unset, unset, "xterm", false}, false},
        DecisionCase{{unset, unset, unset, unset, true}, false},
        DecisionCase{{unset, unset, unset, "dumb", true}, false},
        DecisionCase{{unset, unset, unset, "", true}, true},
        DecisionCase{{unset, unset, "1", "xterm", true}, false},
        DecisionCase{{unset, unset, "", "xterm", true}, true},
        DecisionCase{{"0", unset, unset, "xterm", true}, false},
        DecisionCase{{"1", unset, unset, "xterm", true}, true},
        DecisionCase{{"", unset, unset, "xterm", true}, true},
        DecisionCase{{"0", "1", "1", unset, false}, true},
        DecisionCase{{unset, "", unset, unset, false}, true},
        DecisionCase{{unset, "0", unset, "xterm", true}, true},
        DecisionCase{{unset, "0", unset, "xterm", false}, false}));
// clang-format on

TEST(report_colour_test, decided_once_and_kept_when_the_environment_changes) {
  // The test environment sets NO_COLOR before the first decision of the process.
  EXPECT_FALSE(tolva::io::stderr_colour_in_force());
  setenv("CLICOLOR_FORCE", "1", 1);
  unsetenv("NO_COLOR");
  EXPECT_FALSE(tolva::io::stderr_colour_in_force());
  unsetenv("CLICOLOR_FORCE");
  setenv("NO_COLOR", "1", 1);
}

}  // namespace
