#include <gtest/gtest.h>

#include <array>
#include <expected>
#include <optional>
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

// A check accepts what the reading accepts and fails with the same error.
template <class T>
void expect_same_acceptance(const std::expected<T, ParseError>& read,
                            const std::expected<void, ParseError>& check, std::string_view text) {
  ASSERT_EQ(read.has_value(), check.has_value()) << '"' << text << '"';
  if (!read) {
    EXPECT_EQ(read.error(), check.error()) << '"' << text << '"';
  }
}

TEST(FastLane, reads_every_generated_text_as_the_scanner_does) {
  using detail::acceptance;
  using detail::Build;
  for (const std::string& text : generated_texts()) {
    expect_same(read_version(text), detail::scan_version_as<ParseError>(text, as_is), text);
    expect_same(read_semver(text), detail::scan_semver_as<ParseError>(text, as_is), text);
    expect_same(read_dot_separated(text), detail::scan_dot_separated_as<ParseError>(text, as_is),
                text);
    expect_same_acceptance(
        read_version(text),
        acceptance(detail::read_version_as<ParseError, Build::nothing>(text, as_is)), text);
    expect_same_acceptance(
        read_semver(text),
        acceptance(detail::read_semver_as<ParseError, Build::nothing>(text, as_is)), text);
    expect_same_acceptance(
        read_dot_separated(text),
        acceptance(detail::read_dot_separated_as<ParseError, Build::nothing>(text, as_is)), text);
    expect_same_acceptance(
        read_other(text),
        acceptance(detail::read_other_as<ParseError, Build::nothing>(text, as_is)), text);
  }
}

// The 32-bit bound in each number, read by the lane and by the Scanner each on
// its own, since either may let one number past it while the other does not.
struct BoundCase {
  std::string_view text;
  std::optional<std::array<std::uint32_t, 3>> numbers;  // none: rejected
  Span too_large = {};                                  // where the Scanner marks it
};

void PrintTo(const BoundCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class NumberBound : public ::testing::TestWithParam<BoundCase> {};

TEST_P(NumberBound, holds_in_lane_and_scanner) {
  const BoundCase& c = GetParam();
  SemVer lane;
  ASSERT_EQ(detail::FastLane(c.text).semver(lane), c.numbers.has_value());
  const auto scanned = detail::scan_semver_as<ParseError>(c.text, as_is);
  ASSERT_EQ(scanned.has_value(), c.numbers.has_value());
  if (c.numbers) {
    for (const SemVer& v : {lane, *scanned})
      EXPECT_EQ((std::array{v.major, v.minor, v.patch}), *c.numbers);
  } else {
    EXPECT_EQ(scanned.error().span, c.too_large);
    EXPECT_EQ(scanned.error().found_kind, FoundKind::NumberTooLarge);
  }
}

constexpr std::uint32_t kMax = 4294967295;

INSTANTIATE_TEST_SUITE_P(Grammar, NumberBound,
                         ::testing::Values(BoundCase{"4294967295.0.0", std::array{kMax, 0u, 0u}},
                                           BoundCase{"0.4294967295.1-a", std::array{0u, kMax, 1u}},
                                           BoundCase{"v0.0.4294967295+b", std::array{0u, 0u, kMax}},
                                           BoundCase{"4294967296.0.0", std::nullopt, {0, 10}},
                                           BoundCase{"42949672950.0.0", std::nullopt, {0, 11}},
                                           BoundCase{"0.4294967296.0-a", std::nullopt, {2, 12}},
                                           BoundCase{"0.42949672950.0", std::nullopt, {2, 13}},
                                           BoundCase{"v0.0.4294967296+b", std::nullopt, {5, 15}},
                                           BoundCase{"0.0.42949672950", std::nullopt, {4, 15}}));

}  // namespace
}  // namespace tolva::grammar
