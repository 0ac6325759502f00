#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

#include "tolva/report/parse_report.hpp"
#include "tolva/report/terminal_colour.hpp"

using tolva::report::ColourEnvironment;

namespace {

constexpr std::nullopt_t unset = std::nullopt;

struct DecisionCase {
  ColourEnvironment env;
  bool colour;
};

class colour_decision_test : public testing::TestWithParam<DecisionCase> {};

TEST_P(colour_decision_test, follows_the_environment) {
  EXPECT_EQ(tolva::report::colour_allowed(GetParam().env), GetParam().colour);
}

// Fields: CLICOLOR, CLICOLOR_FORCE, NO_COLOR, TERM, standard error is a terminal.
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

TEST(report_colour_test, decided_once_and_kept_when_the_environment_changes) {
  // The test environment sets NO_COLOR before the first report of the process.
  EXPECT_FALSE(tolva::report::report_colour_in_force());
  setenv("CLICOLOR_FORCE", "1", 1);
  unsetenv("NO_COLOR");
  EXPECT_FALSE(tolva::report::report_colour_in_force());
  std::vector<tolva::grammar::ParseError> errors{{{0, 0}, std::nullopt, {}, {}}};
  std::string message = tolva::report::build_parse_report("", errors, "p").message;
  EXPECT_EQ(message.find('\x1b'), std::string::npos);
  unsetenv("CLICOLOR_FORCE");
  setenv("NO_COLOR", "1", 1);
}

}  // namespace
