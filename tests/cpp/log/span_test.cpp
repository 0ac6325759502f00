#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "log_fixture.hpp"
#include "tolva/log/log.hpp"

namespace {

using log_test::plain_options;
using log_test::record;
using log_test::with_thread;
using tolva::log::Level;
using tolva::log::Span;

void event(const char* message, const Span* parent = nullptr) {
  tolva::log::dispatch_event({Level::info, "app", "e", "", 0}, parent, {{"message", message}});
}

Span span(const char* name, std::initializer_list<tolva::log::Field> fields, const Span* parent = nullptr,
          Level level = Level::info) {
  return tolva::log::open_span({level, "app::db", name, "", 0}, parent, fields);
}

const char* const kHead = "  2026-12-06T10:39:28.123456Z  INFO app: ";

TEST(span_test, enclosing_spans_innermost_first) {
  const std::string out = record(plain_options(), [] {
    Span outer = span("request", {{"id", 7}, {"path", "/a"}});
    auto in_outer = outer.enter();
    Span inner = span("query", {});
    auto in_inner = inner.enter();
    event("inside");
  });
  EXPECT_EQ(out, with_thread(std::string(kHead) +
                             "inside\n    on {T}\n"
                             "    in app::db::query\n"
                             "    in app::db::request with id: 7, path: \"/a\"\n\n"));
}

TEST(span_test, exited_span_no_longer_encloses) {
  const std::string out = record(plain_options(), [] {
    Span s = span("s", {});
    { auto entered = s.enter(); }
    event("after");
  });
  EXPECT_EQ(out, with_thread(std::string(kHead) + "after\n    on {T}\n\n"));
}

TEST(span_test, explicit_parent_needs_no_entering) {
  const std::string out = record(plain_options(), [] {
    Span root = span("root", {});
    Span child = span("child", {{"n", 1}}, &root);
    Span other = span("other", {});
    auto in_other = other.enter();
    event("direct", &child);
  });
  EXPECT_EQ(out, with_thread(std::string(kHead) +
                             "direct\n    on {T}\n    in app::db::child with n: 1\n    in app::db::root\n\n"));
}

TEST(span_test, disabled_explicit_parent_puts_the_event_at_the_root) {
  const std::string out = record(plain_options(), [] {
    Span s = span("s", {});
    auto entered = s.enter();
    const Span disabled;
    event("root", &disabled);
  });
  EXPECT_EQ(out, with_thread(std::string(kHead) + "root\n    on {T}\n\n"));
}

TEST(span_test, parent_outlives_its_handle_while_a_child_is_open) {
  const std::string out = record(plain_options(), [] {
    Span child;
    {
      Span parent = span("parent", {});
      auto entered = parent.enter();
      child = span("child", {});
    }
    event("orphan?", &child);
  });
  EXPECT_EQ(out, with_thread(std::string(kHead) +
                             "orphan?\n    on {T}\n    in app::db::child\n    in app::db::parent\n\n"));
}

TEST(span_test, disabled_level_span_is_transparent) {
  const std::string out = record(plain_options(), [] {
    Span outer = span("outer", {});
    auto in_outer = outer.enter();
    Span quiet = span("quiet", {}, nullptr, Level::debug);
    EXPECT_TRUE(quiet.is_disabled());
    auto in_quiet = quiet.enter();
    event("x");
  });
  EXPECT_EQ(out, with_thread(std::string(kHead) + "x\n    on {T}\n    in app::db::outer\n\n"));
}

TEST(span_test, spans_of_another_thread_do_not_enclose) {
  auto subscriber = tolva::log::make_fmt_subscriber(plain_options());
  tolva::log::ScopedDefault scope(subscriber);
  Span s = span("main_only", {});
  auto entered = s.enter();
  std::string from_thread_tag;
  FdCapture capture(1);
  std::thread([&] {
    tolva::log::ScopedDefault inner(subscriber);
    from_thread_tag = log_test::thread_tag();
    event("elsewhere");
  }).join();
  const std::string& out = capture.finish();
  const std::string expected_tail = std::string(kHead) + "elsewhere\n    on " + from_thread_tag + "\n\n";
  ASSERT_GE(out.size(), expected_tail.size());
  EXPECT_EQ(out.substr(out.size() - expected_tail.size()), expected_tail);
}

TEST(span_test, copies_share_the_span) {
  const std::string out = record(plain_options(), [] {
    Span copy;
    {
      Span original = span("shared", {});
      copy = original;
    }
    auto entered = copy.enter();
    event("x");
  });
  EXPECT_EQ(out, with_thread(std::string(kHead) + "x\n    on {T}\n    in app::db::shared\n\n"));
}

}  // namespace
