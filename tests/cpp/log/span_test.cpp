#include <gtest/gtest.h>

#include <memory>
#include <optional>
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

void event(const Span* parent = nullptr) {
  tolva::log::dispatch_event({Level::info, "app", "e", "", 0}, parent, {{"message", "m"}});
}

Span span(const char* name, std::initializer_list<tolva::log::Field> fields,
          const Span* parent = nullptr, Level level = Level::info) {
  return tolva::log::open_span({level, "app::db", name, "", 0}, parent, fields);
}

struct SpanCase {
  const char* name;
  void (*body)();
  const char* rows;  // the rows after the location row
};

const SpanCase kSpanCases[] = {
    {"innermost_first",
     [] {
       Span outer = span("request", {{"id", 7}, {"path", "/a"}});
       auto in_outer = outer.enter();
       Span inner = span("query", {});
       auto in_inner = inner.enter();
       event();
     },
     "    in app::db::query\n    in app::db::request with id: 7, path: \"/a\"\n"},
    {"exited_span_no_longer_encloses",
     [] {
       Span s = span("s", {});
       { auto entered = s.enter(); }
       event();
     },
     ""},
    {"explicit_parent_needs_no_entering",
     [] {
       Span root = span("root", {});
       Span child = span("child", {{"n", 1}}, &root);
       Span other = span("other", {});
       auto in_other = other.enter();
       event(&child);
     },
     "    in app::db::child with n: 1\n    in app::db::root\n"},
    {"disabled_explicit_parent_is_the_root",
     [] {
       Span s = span("s", {});
       auto entered = s.enter();
       const Span disabled;
       event(&disabled);
     },
     ""},
    {"parent_stays_open_while_a_child_is",
     [] {
       Span child;
       {
         Span parent = span("parent", {});
         auto entered = parent.enter();
         child = span("child", {});
       }
       event(&child);
     },
     "    in app::db::child\n    in app::db::parent\n"},
    {"span_of_a_disabled_level_is_transparent",
     [] {
       Span outer = span("outer", {});
       auto in_outer = outer.enter();
       Span quiet = span("quiet", {}, nullptr, Level::debug);
       auto in_quiet = quiet.enter();
       event();
     },
     "    in app::db::outer\n"},
    {"copies_share_the_span",
     [] {
       Span copy;
       {
         Span original = span("shared", {{"log.skipped", 1}});
         copy = original;
       }
       auto entered = copy.enter();
       event();
     },
     "    in app::db::shared\n"},
};

class SpanTest : public testing::TestWithParam<SpanCase> {};

TEST_P(SpanTest, rows_name_the_enclosing_spans) {
  const std::string out = record(plain_options(), GetParam().body);
  EXPECT_EQ(out,
            with_thread(std::string("  2026-12-06T10:39:28.123456Z  INFO app: m\n    on {T}\n") +
                        GetParam().rows + "\n"));
}

INSTANTIATE_TEST_SUITE_P(scopes, SpanTest, testing::ValuesIn(kSpanCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Two subscribers number their spans alike, and one thread's stack holds the
// entered spans of both: each subscriber sees only its own, and an exit takes
// off the stack only the span of the subscriber that is exited.
TEST(span_test, each_subscriber_sees_its_own_spans) {
  auto first = tolva::log::make_fmt_subscriber(plain_options());
  auto second = tolva::log::make_fmt_subscriber(plain_options());
  auto opened = [](const std::shared_ptr<tolva::log::Subscriber>& in, const char* name) {
    tolva::log::ScopedDefault scope(in);
    return span(name, {});
  };
  auto event_in = [](const std::shared_ptr<tolva::log::Subscriber>& in) {
    tolva::log::ScopedDefault scope(in);
    event();
  };
  const Span a = opened(first, "a"), x = opened(first, "x");
  const Span b = opened(second, "b"), y = opened(second, "y");
  ASSERT_EQ(a.id(), b.id());
  ASSERT_EQ(x.id(), y.id());
  FdCapture capture(1);
  std::optional<Span::Entered> in_a(a.enter());
  const auto in_b = b.enter();
  const auto in_y = y.enter();
  event_in(first);
  event_in(second);
  in_a.reset();
  event_in(first);
  event_in(second);
  const std::string block = "  2026-12-06T10:39:28.123456Z  INFO app: m\n    on {T}\n";
  EXPECT_EQ(capture.finish(),
            with_thread(block + "    in app::db::a\n\n" + block + "    in app::db::y\n\n" + block +
                        "\n" + block + "    in app::db::y\n\n"));
}

TEST(span_test, spans_of_another_thread_do_not_enclose) {
  auto subscriber = tolva::log::make_fmt_subscriber(plain_options());
  tolva::log::ScopedDefault scope(subscriber);
  Span s = span("main_only", {});
  auto entered = s.enter();
  FdCapture capture(1);
  std::thread([&] {
    tolva::log::ScopedDefault inner(subscriber);
    event();
  }).join();
  const std::string& out = capture.finish();
  EXPECT_EQ(out.find("    in "), std::string::npos) << out;
  ASSERT_GE(out.size(), 3u);
  EXPECT_EQ(out.substr(out.size() - 3), ")\n\n") << "the block ends with the location row";
}

}  // namespace
