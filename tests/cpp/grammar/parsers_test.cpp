#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "tolva/explain.hpp"

namespace tolva {
namespace {

// Any bytes may come in: ill-formed UTF-8 gives a report naming the bytes,
// whichever kind is read. Each text sits in a heap block of exactly its size,
// so that the sanitizer build catches any read past its end.
TEST(Parsers, ill_formed_utf8_gives_a_report) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"\xE2", "found invalid UTF-8 \\xe2 expected"},
      {"\xE2\x82", "found invalid UTF-8 \\xe2\\x82 expected"},
      {"\xF0\x9F\x98", "found invalid UTF-8 \\xf0\\x9f\\x98 expected"},
      {"\x80" "abc", "found invalid UTF-8 \\x80 expected"},
  };
  using Parse = std::string (*)(std::string_view);
  const Parse parsers[] = {
      [](std::string_view t) { return explain(parse_as<Version>(t).error(), t); },
      [](std::string_view t) { return explain(parse_as<SemVer>(t).error(), t); },
      [](std::string_view t) { return explain(parse_as<DotSeparated>(t).error(), t); },
      [](std::string_view t) { return explain(parse_as<Other>(t).error(), t); },
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
