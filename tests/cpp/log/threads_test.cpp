// Many threads at once: spans shared and closed across threads, subscribers
// made and dropped while others record, and every block still names its own
// thread's spans.
#include <gtest/gtest.h>

#include <atomic>
#include <expected>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "log_fixture.hpp"
#include "tolva/log/log.hpp"

namespace {

using log_test::plain_options;
using tolva::log::Level;
using tolva::log::Span;

// Blocks the subscriber under test wrote, one string each.
std::mutex written_lock;
std::vector<std::string> written;

std::expected<void, std::error_code> keep_block(std::string_view block) {
  std::lock_guard guard(written_lock);
  written.emplace_back(block);
  return {};
}

// Blocks of subscribers that only exist to be registered and dropped.
std::expected<void, std::error_code> drop_block(std::string_view) { return {}; }

constexpr int kThreads = 8;
constexpr int kRounds = 2000;

TEST(log_threads_test, spans_and_subscribers_under_contention) {
  tolva::log::FmtOptions options = plain_options();
  options.writer = keep_block;
  const auto subscriber = tolva::log::make_fmt_subscriber(options);

  Span shared;
  {
    tolva::log::ScopedDefault scope(subscriber);
    shared = tolva::log::open_span({Level::info, "app", "shared", "", 0}, nullptr, {});
  }
  // Spans handed from one thread to the next, so each closes on another thread.
  std::mutex handoff_lock;
  std::vector<Span> handoff;
  std::atomic<bool> stop{false};

  // Registers and drops subscribers (trace level, so the process-wide maximum
  // moves) for as long as the recorders run.
  std::thread churn([&] {
    tolva::log::FmtOptions trace = plain_options();
    trace.writer = drop_block;
    trace.max_level = tolva::log::LevelFilter::trace;
    while (!stop.load()) {
      const auto temporary = tolva::log::make_fmt_subscriber(trace);
    }
  });

  std::vector<std::thread> recorders;
  for (int t = 0; t < kThreads; ++t) {
    recorders.emplace_back([&, t] {
      tolva::log::ScopedDefault scope(subscriber);
      for (int i = 0; i < kRounds; ++i) {
        const Span copy = shared;
        auto in_shared = copy.enter();
        Span own = tolva::log::open_span({Level::info, "app", "own", "", 0}, nullptr, {{"t", t}});
        auto in_own = own.enter();
        Span child = tolva::log::open_span({Level::info, "app", "child", "", 0}, &own, {{"i", i}});
        tolva::log::dispatch_event({Level::info, "app", "e", "", 0}, &child, {{"t", t}, {"i", i}});
        std::lock_guard guard(handoff_lock);
        handoff.push_back(std::move(child));
        if (handoff.size() > 16) handoff.erase(handoff.begin(), handoff.begin() + 8);
      }
    });
  }
  for (auto& recorder : recorders) recorder.join();
  stop = true;
  churn.join();
  handoff.clear();
  shared = Span();

  std::lock_guard guard(written_lock);
  ASSERT_EQ(written.size(), static_cast<std::size_t>(kThreads * kRounds));
  for (const std::string& block : written) {
    const int t = std::stoi(block.substr(block.find(" t: ") + 4));
    const int i = std::stoi(block.substr(block.find(", i: ") + 5));
    const std::string rows = "    in app::child with i: " + std::to_string(i) +
                             "\n    in app::own with t: " + std::to_string(t) +
                             "\n    in app::shared\n\n";
    ASSERT_GE(block.size(), rows.size()) << block;
    EXPECT_EQ(block.substr(block.size() - rows.size()), rows) << block;
  }
  written.clear();
  // The next registration forgets the dropped trace-level subscribers.
  const auto after = tolva::log::make_fmt_subscriber(plain_options());
  EXPECT_EQ(tolva::log::max_level(), tolva::log::LevelFilter::info);
}

}  // namespace
