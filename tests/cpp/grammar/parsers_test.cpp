#include <gtest/gtest.h>

#include <string>

#include "tolva/grammar/parsers.hpp"

namespace tolva {
namespace {

TEST(Parsers, pass_values_through) {
  const auto v = parse_version("1.2.3-rc.1");
  ASSERT_TRUE(v.has_value());
  const auto& s = std::get<SemVer>(v->value);
  EXPECT_EQ(s.patch, 3u);
  EXPECT_EQ(*s.rc, (TextList{"rc", "1"}));
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

}  // namespace
}  // namespace tolva
