#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "log_fixture.hpp"
#include "tolva/log/log.hpp"

namespace {

using log_test::plain_options;
using log_test::record;
using log_test::with_thread;
using tolva::log::ErrorValue;
using tolva::log::Field;
using tolva::log::Level;
using tolva::log::Metadata;

const ErrorValue kRoot{"disk full"};
const ErrorValue kMiddle{"write failed", &kRoot};
const ErrorValue kTop{"cannot save", &kMiddle};
const ErrorValue kEscaping{"x\x1b"};
const ErrorValue kControlCause{"disk\x1b[2J\r\xc2\x9b"};
const ErrorValue kControlTop{"save", &kControlCause};

struct BlockCase {
  const char* name;
  Metadata metadata;
  std::vector<Field> fields;
  const char* expected;  // {T} stands for the thread's identifier
};

const Metadata kApp{Level::info, "app", "event", "src/app", 12};

// clang-format off
const BlockCase kBlockCases[] = {
    {"message_and_count", kApp, {{"message", "started"}, {"count", 3}},
     "  2026-12-06T10:39:28.123456Z  INFO app: started, count: 3\n"
     "    at src/app:12 on {T}\n\n"},
    {"warn_has_two_blanks", {Level::warn, "app", "e", "src/app", 12}, {{"message", "low"}},
     "  2026-12-06T10:39:28.123456Z  WARN app: low\n    at src/app:12 on {T}\n\n"},
    {"error_has_one_blank", {Level::error, "app", "e", "src/app", 12}, {{"message", "bad"}},
     "  2026-12-06T10:39:28.123456Z ERROR app: bad\n    at src/app:12 on {T}\n\n"},
    {"text_field_is_quoted", kApp, {{"message", "hi"}, {"user", "a\"b\tc"}},
     "  2026-12-06T10:39:28.123456Z  INFO app: hi, user: \"a\\\"b\\tc\"\n    at src/app:12 on {T}\n\n"},
    {"no_message", kApp, {{"a", true}, {"b", false}},
     "  2026-12-06T10:39:28.123456Z  INFO app: a: true, b: false\n    at src/app:12 on {T}\n\n"},
    {"message_not_first", kApp, {{"n", -4}, {"message", "late"}},
     "  2026-12-06T10:39:28.123456Z  INFO app: n: -4, late\n    at src/app:12 on {T}\n\n"},
    {"log_fields_skipped", kApp, {{"log.target", "x"}, {"message", "m"}, {"log.line", 4}},
     "  2026-12-06T10:39:28.123456Z  INFO app: m\n    at src/app:12 on {T}\n\n"},
    {"raw_prefix_stripped", kApp, {{"r#type", "t"}, {"r#", 1}},
     "  2026-12-06T10:39:28.123456Z  INFO app: type: \"t\", : 1\n    at src/app:12 on {T}\n\n"},
    {"numbers", kApp,
     {{"u", std::numeric_limits<std::uint64_t>::max()}, {"i", std::numeric_limits<std::int64_t>::min()},
      {"f", 3.0}, {"g", 0.25}, {"h", 1e20}, {"k", -1e-7}},
     "  2026-12-06T10:39:28.123456Z  INFO app: u: 18446744073709551615, i: -9223372036854775808, "
     "f: 3.0, g: 0.25, h: 1e20, k: -1e-7\n    at src/app:12 on {T}\n\n"},
    {"error_with_causes", kApp, {{"error", kTop}, {"plain", kRoot}},
     "  2026-12-06T10:39:28.123456Z  INFO app: error: cannot save, error.sources: "
     "[write failed, disk full], plain: disk full\n    at src/app:12 on {T}\n\n"},
    {"error_as_message", kApp, {{"message", kMiddle}},
     "  2026-12-06T10:39:28.123456Z  INFO app: write failed, message.sources: [disk full]\n"
     "    at src/app:12 on {T}\n\n"},
    {"no_file", {Level::info, "app", "e", "", 12}, {{"message", "m"}},
     "  2026-12-06T10:39:28.123456Z  INFO app: m\n    on {T}\n\n"},
    {"file_without_line", {Level::info, "app", "e", "src/app", 0}, {{"message", "m"}},
     "  2026-12-06T10:39:28.123456Z  INFO app: m\n    at src/app on {T}\n\n"},
    {"no_fields", kApp, {}, "  2026-12-06T10:39:28.123456Z  INFO app: \n    at src/app:12 on {T}\n\n"},
    // Recorded text must not drive the terminal: control characters are
    // escaped even in the unquoted message, tab excepted; a line feed, which
    // could forge the rows of another block, is written \n.
    {"message_escapes_controls", kApp, {{"message", "a\x1b[31mb\rc\x7f\n\td\xc2\x9b"}},
     "  2026-12-06T10:39:28.123456Z  INFO app: a\\u{1b}[31mb\\u{d}c\\u{7f}\\n\td\\u{9b}\n"
     "    at src/app:12 on {T}\n\n"},
    {"target_and_error_escape_controls", {Level::info, "a\x1bp\np", "e", "f\x07", 1}, {{"e", kEscaping}, {"k\n", 1}},
     "  2026-12-06T10:39:28.123456Z  INFO a\\u{1b}p\\np: e: x\\u{1b}, k\\n: 1\n    at f\\u{7}:1 on {T}\n\n"},
    {"ill_formed_utf8_replaced", kApp, {{"message", "a\xff" "b\xe2\x82"}, {"q", "\xc3(\xf0\x9f\x98\x80"}},
     "  2026-12-06T10:39:28.123456Z  INFO app: a\xef\xbf\xbd" "b\xef\xbf\xbd, q: \"\xef\xbf\xbd(\xf0\x9f\x98\x80\"\n"
     "    at src/app:12 on {T}\n\n"},
};
// clang-format on

class BlockTest : public testing::TestWithParam<BlockCase> {};

TEST_P(BlockTest, writes_the_whole_block) {
  const BlockCase& c = GetParam();
  auto subscriber = tolva::log::make_fmt_subscriber(plain_options());
  const std::string expected = with_thread(c.expected);
  FdCapture capture(1);
  subscriber->event(c.metadata, {}, c.fields);
  EXPECT_EQ(capture.finish(), expected);
}

INSTANTIATE_TEST_SUITE_P(rules, BlockTest, testing::ValuesIn(kBlockCases),
                         [](const auto& info) { return std::string(info.param.name); });

const BlockCase kEdgeCases[] = {
    // The switch to scientific form is at exactly 1e16, 9999999999999998 being
    // the largest double below it.
    {"float_edges",
     kApp,
     {{"a", 1e16},
      {"b", 9999999999999998.0},
      {"c", -std::numeric_limits<double>::infinity()},
      {"d", 0.0},
      {"e", -0.0}},
     "  2026-12-06T10:39:28.123456Z  INFO app: a: 1e16, b: 9999999999999998.0, c: -inf, d: 0.0, "
     "e: -0.0\n    at src/app:12 on {T}\n\n"},
    {"error_causes_escape_controls",
     kApp,
     {{"e", kControlTop}},
     "  2026-12-06T10:39:28.123456Z  INFO app: e: save, e.sources: [disk\\u{1b}[2J\\u{d}\\u{9b}]\n"
     "    at src/app:12 on {T}\n\n"},
};

INSTANTIATE_TEST_SUITE_P(edges, BlockTest, testing::ValuesIn(kEdgeCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct TimeCase {
  const char* name;
  std::optional<tolva::log::Timestamp> time;
  const char* expected;
};

using std::chrono::microseconds;
const TimeCase kTimeCases[] = {
    {"epoch", tolva::log::Timestamp(microseconds(0)), "1970-01-01T00:00:00.000000Z"},
    {"before_epoch", tolva::log::Timestamp(microseconds(-1)), "1969-12-31T23:59:59.999999Z"},
    {"leap_day", tolva::log::Timestamp(microseconds(951'782'400'000'001)), "2000-02-29T00:00:00.000001Z"},
    {"year_9999", tolva::log::Timestamp(microseconds(253'402'300'799'999'999)), "9999-12-31T23:59:59.999999Z"},
    {"year_10000", tolva::log::Timestamp(microseconds(253'402'300'800'000'000)), "+10000-01-01T00:00:00.000000Z"},
    {"year_0", tolva::log::Timestamp(microseconds(-62'167'219'200'000'000)), "0000-01-01T00:00:00.000000Z"},
    {"year_minus_1", tolva::log::Timestamp(microseconds(-62'198'755'200'000'000)), "-0001-01-01T00:00:00.000000Z"},
    {"unknown", std::nullopt, "<unknown time>"},
};

class TimestampTest : public testing::TestWithParam<TimeCase> {};

TEST_P(TimestampTest, first_row_carries_it) {
  log_test::clock_time = GetParam().time;
  const std::string out = record(plain_options(), [] {
    tolva::log::dispatch_event({Level::error, "t", "e", "", 0}, nullptr, {{"message", "m"}});
  });
  log_test::clock_time = log_test::kExampleTime;
  EXPECT_EQ(out.substr(0, out.find('\n')), std::string("  ") + GetParam().expected + " ERROR t: m");
}

INSTANTIATE_TEST_SUITE_P(times, TimestampTest, testing::ValuesIn(kTimeCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The microseconds printed are those of the real clock at the event: each of
// two events lies between the clock readings just before and after it.
TEST(block_test, real_clock_time_is_printed_to_the_microsecond) {
  using namespace std::chrono;
  tolva::log::FmtOptions options = plain_options();
  options.clock = tolva::log::system_clock_now;
  for (int round = 0; round < 2; ++round) {
    std::this_thread::sleep_for(milliseconds(2));
    const auto before = floor<microseconds>(system_clock::now());
    const std::string out = record(options, [] {
      tolva::log::dispatch_event({Level::info, "t", "e", "", 0}, nullptr, {{"message", "m"}});
    });
    const auto after = floor<microseconds>(system_clock::now());
    int y = 0;
    unsigned mo = 0, d = 0, h = 0, mi = 0, s = 0, us = 0;
    ASSERT_EQ(std::sscanf(out.c_str(), "  %d-%u-%uT%u:%u:%u.%6uZ", &y, &mo, &d, &h, &mi, &s, &us),
              7)
        << out;
    const auto printed = sys_days{year{y} / month{mo} / day{d}} + hours{h} + minutes{mi} +
                         seconds{s} + microseconds{us};
    EXPECT_LE(before, printed) << out;
    EXPECT_LE(printed, after) << out;
  }
}

TEST(block_test, macros_record_file_line_and_default_target) {
  int line = 0;
  const std::string out = record(plain_options(), [&] {
    line = __LINE__ + 1;
    TOLVA_INFO("from a macro", {"n", 1u});
  });
  EXPECT_EQ(out, with_thread("  2026-12-06T10:39:28.123456Z  INFO tolva: from a macro, n: 1\n    at " +
                             std::string(__FILE__) + ":" + std::to_string(line) + " on {T}\n\n"));
}

}  // namespace
