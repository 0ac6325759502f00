#include <gtest/gtest.h>

#include <expected>
#include <string>
#include <string_view>
#include <vector>

#include "grammar/read_kinds.hpp"
#include "tolva/grammar/readers.hpp"

namespace tolva::grammar {
namespace {

ParseError as_is(ParseError&& e) { return std::move(e); }

// Every text of up to four pieces drawn from the ones that steer the grammar:
// digits around the 32-bit limit, leading zeros, the signs, letters that are
// and are not identifier or part characters, and a multi-byte character.
std::vector<std::string> generated_texts() {
  const std::vector<std::string_view> pieces = {"0",  "01", "7",        "4294967295", "4294967296",
                                                ".",  "-",  "+",        "v",          "V",
                                                "rc", "_",  "\xC3\xA9", " "};
  std::vector<std::string> texts = {""};
  std::size_t level_start = 0;
  for (int length = 1; length <= 4; ++length) {
    const std::size_t level_end = texts.size();
    for (std::size_t i = level_start; i < level_end; ++i)
      for (std::string_view piece : pieces) texts.push_back(texts[i] + std::string(piece));
    level_start = level_end;
  }
  return texts;
}

// Same acceptance, the same value down to absent against empty lists, or the
// same error.
template <class T>
void expect_same(const std::expected<T, ParseError>& lane, const std::expected<T, ParseError>& scan,
                 std::string_view text) {
  ASSERT_EQ(lane.has_value(), scan.has_value()) << '"' << text << '"';
  if (lane)
    EXPECT_EQ(debug_form(*lane), debug_form(*scan)) << '"' << text << '"';
  else
    EXPECT_EQ(lane.error(), scan.error()) << '"' << text << '"';
}

TEST(FastLane, reads_every_generated_text_as_the_scanner_does) {
  for (const std::string& text : generated_texts()) {
    expect_same(read_version(text), detail::scan_version_as<ParseError>(text, as_is), text);
    expect_same(read_semver(text), detail::scan_semver_as<ParseError>(text, as_is), text);
    expect_same(read_dot_separated(text), detail::scan_dot_separated_as<ParseError>(text, as_is),
                text);
  }
}

}  // namespace
}  // namespace tolva::grammar
