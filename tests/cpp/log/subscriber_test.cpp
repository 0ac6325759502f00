#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "log_fixture.hpp"
#include "tolva/log/log.hpp"

namespace {

using log_test::plain_options;
using log_test::record;
using log_test::with_thread;
using tolva::log::Level;
using tolva::log::Span;

void info(const char* message) {
  tolva::log::dispatch_event({Level::info, "app", "e", "", 0}, nullptr, {{"message", message}});
}

TEST(subscriber_test, colour_block) {
  tolva::log::FmtOptions options = plain_options();
  options.colour = true;
  const std::string out = record(options, [] {
    Span span = tolva::log::open_span({Level::info, "app::db", "request", "", 0}, nullptr, {{"id", 7}});
    auto entered = span.enter();
    tolva::log::dispatch_event({Level::info, "app", "e", "src/app", 12}, nullptr,
                               {{"message", "started"}, {"count", 3}});
  });
  EXPECT_EQ(out, with_thread("  \x1b[2m2026-12-06T10:39:28.123456Z\x1b[0m \x1b[32m INFO\x1b[0m "
                             "\x1b[1;32mapp\x1b[0m\x1b[32m: \x1b[32mstarted, \x1b[1;32mcount\x1b[0m\x1b[32m: 3\x1b[0m\n"
                             "    \x1b[2;3mat\x1b[0m src/app:12 \x1b[2;3mon\x1b[0m {T}\n"
                             "    \x1b[2;3min\x1b[0m app::db::\x1b[1mrequest\x1b[0m \x1b[2;3mwith\x1b[0m id: 7\n\n"));
}

// Format characters would make a row read as something else: they are escaped
// like control characters.
TEST(subscriber_test, format_characters_are_escaped) {
  const std::string out =
      record(plain_options(), [] { info("1.0\u202E\u2066\u200B\u00ADx\uFEFF"); });
  EXPECT_NE(out.find(" app: 1.0\\u{202e}\\u{2066}\\u{200b}\\u{ad}x\\u{feff}\n"), std::string::npos)
      << out;
}

TEST(subscriber_test, colour_styles_the_whole_sources_label_as_a_field_name) {
  tolva::log::FmtOptions options = plain_options();
  options.colour = true;
  static const tolva::log::ErrorValue root{"disk full"};
  static const tolva::log::ErrorValue top{"cannot save", &root};
  const std::string out = record(options, [] {
    tolva::log::dispatch_event({Level::info, "app", "e", "", 0}, nullptr, {{"error", top}});
  });
  EXPECT_NE(out.find("\x1b[1;32merror\x1b[0m\x1b[32m: cannot save, "
                     "\x1b[1;32merror.sources\x1b[0m\x1b[32m: [disk full]\x1b[0m\n"),
            std::string::npos)
      << out;
}

struct LevelColour {
  Level level;
  const char* first_row;
};

class LevelColourTest : public testing::TestWithParam<LevelColour> {};

TEST_P(LevelColourTest, level_word_and_target_take_the_level_colour) {
  tolva::log::FmtOptions options = plain_options();
  options.colour = true;
  options.max_level = tolva::log::LevelFilter::trace;
  const std::string out = record(options, [] {
    tolva::log::dispatch_event({GetParam().level, "t", "e", "", 0}, nullptr, {{"k", 1}});
  });
  EXPECT_EQ(out.substr(0, out.find('\n')),
            std::string("  \x1b[2m2026-12-06T10:39:28.123456Z\x1b[0m ") + GetParam().first_row);
}

INSTANTIATE_TEST_SUITE_P(
    levels, LevelColourTest,
    testing::Values(
        LevelColour{Level::trace, "\x1b[35mTRACE\x1b[0m \x1b[1;35mt\x1b[0m\x1b[35m: \x1b[1;35mk\x1b[0m\x1b[35m: 1\x1b[0m"},
        LevelColour{Level::debug, "\x1b[34mDEBUG\x1b[0m \x1b[1;34mt\x1b[0m\x1b[34m: \x1b[1;34mk\x1b[0m\x1b[34m: 1\x1b[0m"},
        LevelColour{Level::info, "\x1b[32m INFO\x1b[0m \x1b[1;32mt\x1b[0m\x1b[32m: \x1b[1;32mk\x1b[0m\x1b[32m: 1\x1b[0m"},
        LevelColour{Level::warn, "\x1b[33m WARN\x1b[0m \x1b[1;33mt\x1b[0m\x1b[33m: \x1b[1;33mk\x1b[0m\x1b[33m: 1\x1b[0m"},
        LevelColour{Level::error, "\x1b[31mERROR\x1b[0m \x1b[1;31mt\x1b[0m\x1b[31m: \x1b[1;31mk\x1b[0m\x1b[31m: 1\x1b[0m"}));

// A subscriber without a level hint, counting what reaches it.
class CountingSubscriber final : public tolva::log::Subscriber {
 public:
  bool enabled(const tolva::log::Metadata&) const noexcept override { return true; }
  void event(const tolva::log::Metadata&, tolva::log::Parent, std::span<const tolva::log::Field>) noexcept override {
    ++events;
  }
  tolva::log::SpanId new_span(const tolva::log::Metadata&, tolva::log::Parent,
                              std::span<const tolva::log::Field>) noexcept override {
    return 0;
  }
  void clone_span(tolva::log::SpanId) noexcept override {}
  void close_span(tolva::log::SpanId) noexcept override {}
  void enter(tolva::log::SpanId) noexcept override {}
  void exit(tolva::log::SpanId) noexcept override {}
  int events = 0;
};

TEST(subscriber_test, max_level_follows_the_live_subscribers) {
  auto info_only = tolva::log::make_fmt_subscriber(plain_options());
  EXPECT_EQ(tolva::log::max_level(), tolva::log::LevelFilter::info);
  int evaluated = 0;
  {
    tolva::log::ScopedDefault scope(info_only);
    TOLVA_DEBUG("skipped", {"n", ++evaluated});
  }
  EXPECT_EQ(evaluated, 0) << "a disabled callsite evaluated its fields";

  auto counting = std::make_shared<CountingSubscriber>();
  tolva::log::register_subscriber(counting);
  EXPECT_EQ(tolva::log::max_level(), tolva::log::LevelFilter::trace) << "no hint counts as trace";
  {
    tolva::log::ScopedDefault scope(counting);
    TOLVA_TRACE("seen");
  }
  EXPECT_EQ(counting->events, 1);

  // With trace enabled process-wide, the INFO filter still drops the events.
  const std::string out = record(plain_options(), [] {
    TOLVA_TRACE("t");
    TOLVA_DEBUG("d");
    TOLVA_WARN("w");
  });
  EXPECT_EQ(out.find("  2026-12-06T10:39:28.123456Z  WARN tolva: w\n"), 0u) << out;
  EXPECT_EQ(out.find("\n\n"), out.size() - 2) << "one block only";

  counting.reset();
  const auto again = tolva::log::make_fmt_subscriber(plain_options());
  EXPECT_EQ(tolva::log::max_level(), tolva::log::LevelFilter::info) << "dead subscribers are dropped";
}

TEST(subscriber_test, threads_are_numbered_in_order_of_first_use) {
  const std::string main_tag = log_test::thread_tag();
  std::string first, second;
  std::thread([&] { first = log_test::thread_tag(); }).join();
  std::thread([&] { second = log_test::thread_tag(); }).join();
  const auto number = [](const std::string& tag) { return std::stoul(tag.substr(9)); };
  EXPECT_EQ(number(second), number(first) + 1);
  EXPECT_LT(number(main_tag), number(first));
  EXPECT_EQ(log_test::thread_tag(), main_tag);
}

TEST(subscriber_test, concurrent_blocks_do_not_interleave) {
  constexpr int kThreads = 8;
  constexpr int kEvents = 2000;
  auto subscriber = tolva::log::make_fmt_subscriber(plain_options());
  const std::string padding(300, 'x');
  FdCapture capture(1);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      tolva::log::ScopedDefault scope(subscriber);
      for (int i = 0; i < kEvents; ++i) {
        tolva::log::dispatch_event({Level::info, "app", "e", "", 0}, nullptr,
                                   {{"t", t}, {"i", i}, {"pad", padding}});
      }
    });
  }
  for (auto& thread : threads) thread.join();
  const std::string& out = capture.finish();

  std::map<int, std::string> tags;
  std::map<int, int> next_event;
  std::size_t blocks = 0;
  for (std::size_t start = 0; start < out.size();) {
    const std::size_t end = out.find("\n\n", start);
    ASSERT_NE(end, std::string::npos);
    const std::string block = out.substr(start, end + 2 - start);
    start = end + 2;
    ++blocks;
    const int t = std::atoi(block.c_str() + block.find(" t: ") + 4);
    const int i = std::atoi(block.c_str() + block.find(", i: ") + 5);
    const std::size_t on = block.find("\n    on ");
    ASSERT_NE(on, std::string::npos) << block;
    const std::string tag = block.substr(on + 8, block.size() - 2 - (on + 8));
    if (!tags.contains(t)) tags[t] = tag;
    EXPECT_EQ(block, "  2026-12-06T10:39:28.123456Z  INFO app: t: " + std::to_string(t) + ", i: " +
                         std::to_string(i) + ", pad: \"" + padding + "\"\n    on " + tags[t] + "\n\n");
    EXPECT_EQ(i, next_event[t]++) << "events of one thread out of order";
  }
  EXPECT_EQ(blocks, static_cast<std::size_t>(kThreads * kEvents));
}

bool refuse(std::string&, const int&) { return false; }

TEST(subscriber_test, unformattable_event_is_replaced_by_a_notice) {
  const int object = 0;
  const std::string out = record(plain_options(), [&] {
    tolva::log::dispatch_event({Level::info, "app", "event src/app:3", "", 0}, nullptr,
                               {{"message", "m"}, {"bad", tolva::log::Value::custom<refuse>(object)}});
  });
  EXPECT_EQ(out, "Unable to format the following event. Name: event src/app:3; Fields: [message, bad]\n");
}

std::expected<void, std::error_code> broken_writer(std::string_view) {
  return std::unexpected(std::error_code(EBADF, std::system_category()));
}

TEST(subscriber_test, write_failures_go_to_standard_error) {
  tolva::log::FmtOptions options = plain_options();
  options.writer = broken_writer;
  const int object = 0;
  FdCapture err(2);
  const std::string out = record(options, [&] {
    info("lost");
    tolva::log::dispatch_event({Level::info, "app", "e", "", 0}, nullptr,
                               {{"bad", tolva::log::Value::custom<refuse>(object)}});
  });
  EXPECT_EQ(out, "");
  EXPECT_EQ(err.finish(),
            "[tracing-subscriber] Unable to write an event to the Writer for this Subscriber! "
            "Error: Bad file descriptor (os error 9)\n\n"
            "[tracing-subscriber] Unable to write an \"event formatting error\" to the Writer for this "
            "Subscriber! Error: Bad file descriptor (os error 9)\n\n");
}

TEST(subscriber_test, closed_standard_output_is_reported_not_raised) {
  auto subscriber = tolva::log::make_fmt_subscriber(plain_options());
  tolva::log::ScopedDefault scope(subscriber);
  FdCapture err(2);
  const int saved = ::dup(1);
  ::close(1);
  TOLVA_WARN("nowhere to go");
  ::dup2(saved, 1);
  ::close(saved);
  EXPECT_EQ(err.finish(),
            "[tracing-subscriber] Unable to write an event to the Writer for this Subscriber! "
            "Error: Bad file descriptor (os error 9)\n\n");
}

TEST(subscriber_test, unformattable_span_fields_leave_a_usable_span) {
  const int object = 0;
  FdCapture err(2);
  const std::string out = record(plain_options(), [&] {
    Span span = tolva::log::open_span({Level::info, "app", "s", "", 0}, nullptr,
                                      {{"bad", tolva::log::Value::custom<refuse>(object)}});
    auto entered = span.enter();
    info("inside");
  });
  EXPECT_EQ(err.finish(),
            "[tracing-subscriber] Unable to format the following event, ignoring: "
            "Attributes { target: \"app\", name: \"s\", fields: [bad] }\n");
  EXPECT_EQ(out, with_thread("  2026-12-06T10:39:28.123456Z  INFO app: inside\n    on {T}\n    in app::s\n\n"));
}

// Records an event of its own while the outer event is being formatted.
bool record_inside(std::string& out, const int&) {
  tolva::log::dispatch_event({Level::info, "inner", "e", "", 0}, nullptr, {{"message", "nested"}});
  out += "formatted \x1b[1m";
  return true;
}

TEST(subscriber_test, event_recorded_while_formatting_uses_a_fresh_buffer) {
  const int object = 0;
  const std::string out = record(plain_options(), [&] {
    tolva::log::dispatch_event({Level::info, "outer", "e", "", 0}, nullptr,
                               {{"message", "first"}, {"v", tolva::log::Value::custom<record_inside>(object)}});
    tolva::log::dispatch_event({Level::info, "outer", "e", "", 0}, nullptr, {{"message", "again"}});
  });
  EXPECT_EQ(out, with_thread("  2026-12-06T10:39:28.123456Z  INFO inner: nested\n    on {T}\n\n"
                             "  2026-12-06T10:39:28.123456Z  INFO outer: first, v: formatted \\u{1b}[1m\n    on {T}\n\n"
                             "  2026-12-06T10:39:28.123456Z  INFO outer: again\n    on {T}\n\n"));
}

struct ColourEnv {
  const char* value;  // null: unset
  bool colour;
};

class ColourEnvTest : public testing::TestWithParam<ColourEnv> {};

TEST_P(ColourEnvTest, only_a_non_empty_no_color_turns_colour_off) {
  if (GetParam().value == nullptr) {
    ::unsetenv("NO_COLOR");
  } else {
    ::setenv("NO_COLOR", GetParam().value, 1);
  }
  tolva::log::FmtOptions options = plain_options();
  options.colour = tolva::log::colour_from_environment();
  ::unsetenv("NO_COLOR");
  // Descriptor 1 is a pipe here: whether it is a terminal plays no part.
  const std::string out = record(options, [] { info("m"); });
  EXPECT_EQ(out.find('\x1b') != std::string::npos, GetParam().colour) << out;
}

INSTANTIATE_TEST_SUITE_P(values, ColourEnvTest,
                         testing::Values(ColourEnv{nullptr, true}, ColourEnv{"", true},
                                         ColourEnv{"0", false}, ColourEnv{"1", false},
                                         ColourEnv{"\xff", false}));

// Runs last in this file: it installs the process-wide default for good.
TEST(subscriber_test, global_default_is_installed_once) {
  auto first = tolva::log::make_fmt_subscriber(plain_options());
  FdCapture capture(1);
  TOLVA_INFO("before");
  EXPECT_EQ(capture.finish(), "") << "events before installation are discarded";

  ASSERT_TRUE(tolva::log::set_global_default(first).has_value());
  tolva::log::FmtOptions coloured = plain_options();
  coloured.colour = true;
  const auto second = tolva::log::set_global_default(tolva::log::make_fmt_subscriber(coloured));
  ASSERT_FALSE(second.has_value());
  EXPECT_EQ(second.error(), tolva::log::SetDefaultError::already_set);

  FdCapture after(1);
  tolva::log::dispatch_event({Level::info, "app", "e", "", 0}, nullptr, {{"message", "after"}});
  EXPECT_EQ(after.finish(), with_thread("  2026-12-06T10:39:28.123456Z  INFO app: after\n    on {T}\n\n"));
}

}  // namespace
