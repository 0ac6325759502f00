// The process-wide colour decision is made at the first call; the tests expect
// it off, so the environment forbids colour before any test runs.
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class ColourOffEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    unsetenv("CLICOLOR_FORCE");
    setenv("NO_COLOR", "1", 1);
  }
};

[[maybe_unused]] testing::Environment* const colour_off =
    testing::AddGlobalTestEnvironment(new ColourOffEnvironment);

}  // namespace
