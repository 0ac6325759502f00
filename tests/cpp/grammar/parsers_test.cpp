#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "tolva/report/parsers.hpp"

namespace tolva {
namespace {

TEST(Parsers, pass_values_through) {
  const auto v = parse_version("1.2.3-rc.1");
  ASSERT_TRUE(v.has_value());
  const auto& s = std::get<SemVer>(v->value);
  EXPECT_EQ(s.patch, 3u);
  EXPECT_EQ(TextList(s.rc()->begin(), s.rc()->end()), (TextList{"rc", "1"}));
  EXPECT_EQ(parse_semver("v1.0.9")->patch, 9u);
  EXPECT_EQ(parse_dot_separated("a.b")->parts, (TextList{"a", "b"}));
  EXPECT_EQ(parse_other("nightly")->value, "nightly");
}

// Each parser names its own kind in the report of a rejected text.
TEST(Parsers, report_names_the_kind) {
  const std::pair<std::string, std::string> rows[] = {
      {parse_version("1.2.").error().message, std::string(type_path::version)},
      {parse_semver("1.2").error().message, std::string(type_path::semver)},
      {parse_dot_separated(".").error().message, std::string(type_path::dot_separated)},
      {parse_other("1").error().message, std::string(type_path::other)},
  };
  for (const auto& [message, path] : rows) {
    EXPECT_NE(message.find(path + ":1:"), std::string::npos) << message;
  }
}

// A caller's style names the source, numbers its line and decides colour.
TEST(Parsers, styled_report_takes_name_line_and_colour) {
  const report::ReportStyle style{.source_name = "list.txt", .first_line = 12, .colour = false};
  const std::string message = parse_semver("1.2.3x", style).error().message;
  EXPECT_NE(message.find("[ list.txt:12:6 ]"), std::string::npos) << message;
  EXPECT_NE(message.find(" 12 \u2502 1.2.3x\n"), std::string::npos) << message;
  EXPECT_EQ(message.find('\x1b'), std::string::npos);

  const std::string unnamed = parse_other("1", {.source_name = {}, .first_line = 3, .colour = true}).error().message;
  EXPECT_NE(unnamed.find(std::string(type_path::other) + ":3:1"), std::string::npos) << unnamed;
  EXPECT_NE(unnamed.find('\x1b'), std::string::npos);
}

// Any bytes may come in: ill-formed UTF-8 gives a report naming the bytes.
// Each text sits in a heap block of exactly its size, so that the sanitizer
// build catches any read past its end.
TEST(Parsers, ill_formed_utf8_gives_a_report) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"\xE2", "found invalid UTF-8 \\xe2 expected"},
      {"\xE2\x82", "found invalid UTF-8 \\xe2\\x82 expected"},
      {"\xF0\x9F\x98", "found invalid UTF-8 \\xf0\\x9f\\x98 expected"},
      {"\x80" "abc", "found invalid UTF-8 \\x80 expected"},
  };
  using Parse = std::string (*)(std::string_view);
  const Parse parsers[] = {
      [](std::string_view t) { return parse_version(t).error().message; },
      [](std::string_view t) { return parse_semver(t).error().message; },
      [](std::string_view t) { return parse_dot_separated(t).error().message; },
      [](std::string_view t) { return parse_other(t).error().message; },
  };
  for (const auto& [text, label] : cases) {
    const auto copy = std::make_unique_for_overwrite<char[]>(text.size());
    std::copy(text.begin(), text.end(), copy.get());
    for (Parse parse : parsers) {
      const std::string message = parse({copy.get(), text.size()});
      EXPECT_NE(message.find(label), std::string::npos) << message;
    }
  }
}

}  // namespace
}  // namespace tolva
