// The colour decision is made by whichever thread asks first and published
// once; threads racing to make it must all end up with the same answer.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <latch>
#include <thread>
#include <vector>

#include "tolva/io/terminal_colour.hpp"

namespace {

constexpr int kThreads = 16;
constexpr int kCalls = 10000;

// Exits 0 when every thread saw colour.
[[noreturn]] void race_for_the_first_decision() {
  setenv("CLICOLOR_FORCE", "1", 1);
  std::atomic<int> disagreements{0};
  std::latch start(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      start.arrive_and_wait();
      for (int i = 0; i < kCalls; ++i) {
        if (!tolva::io::stderr_colour_in_force()) ++disagreements;
      }
    });
  }
  for (auto& thread : threads) thread.join();
  std::exit(disagreements.load() == 0 ? 0 : 1);
}

TEST(report_colour_threads_test, racing_threads_share_the_first_decision) {
  // "threadsafe" runs the body in a freshly started copy of this binary,
  // where no test has made the decision yet.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(race_for_the_first_decision(), testing::ExitedWithCode(0), "");
}

}  // namespace
