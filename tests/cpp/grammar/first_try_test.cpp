#include <gtest/gtest.h>

#include <array>
#include <expected>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "grammar/read_kinds.hpp"
#include "tolva/explain.hpp"
#include "tolva/grammar/readers.hpp"
#include "tolva/grammar/text_order_key.hpp"
#include "tolva/values/order_key.hpp"

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

using detail::Build;
using detail::FailureRecord;
using detail::NoRecord;
using detail::Scanner;

// A rule read over a recording scanner alone: its value or its error.
template <class T, class Rule>
std::expected<T, ParseError> recorded(std::string_view text, const Rule& rule) {
  Scanner<FailureRecord> s(text);
  if (T value; rule(s, value)) return value;
  return std::unexpected(s.error());
}

// The same rule over a first try's scanner.
template <class T, class Rule>
std::optional<T> first_try(std::string_view text, const Rule& rule) {
  Scanner<NoRecord> s(text);
  if (T value; rule(s, value)) return value;
  return std::nullopt;
}

// The first try accepts what the recording reading accepts, with the same
// value down to absent against empty lists; the reader, which joins the two,
// gives that value or the recording reading's error; a check, which builds
// nothing, accepts alike and fails with the same error.
template <class T, class Rule>
void expect_agreement(std::string_view text, const Rule& rule,
                      const std::expected<T, ParseError>& read,
                      const std::expected<void, ParseError>& check) {
  const auto full = recorded<T>(text, rule);
  const auto first = first_try<T>(text, rule);
  ASSERT_EQ(first.has_value(), full.has_value()) << '"' << text << '"';
  ASSERT_EQ(read.has_value(), full.has_value()) << '"' << text << '"';
  ASSERT_EQ(check.has_value(), full.has_value()) << '"' << text << '"';
  if (full) {
    EXPECT_EQ(debug_form(*first), debug_form(*full)) << '"' << text << '"';
    EXPECT_EQ(debug_form(*read), debug_form(*full)) << '"' << text << '"';
  } else {
    EXPECT_EQ(read.error(), full.error()) << '"' << text << '"';
    EXPECT_EQ(check.error(), full.error()) << '"' << text << '"';
  }
}

TEST(FirstTry, agrees_with_the_recording_reading_on_every_generated_text) {
  using detail::acceptance;
  constexpr Build nothing = Build::nothing;
  for (const std::string& text : generated_texts()) {
    expect_agreement<Version>(
        text, detail::VersionRule<Build::values>{}, tolva::parse_as<tolva::Version>(text),
        acceptance(detail::read_version_as<ParseError, nothing>(text, as_is)));
    expect_agreement<SemVer>(text, detail::SemVerRule{}, tolva::parse_as<tolva::SemVer>(text),
                             acceptance(detail::read_semver_as<ParseError, nothing>(text, as_is)));
    expect_agreement<DotSeparated>(
        text, detail::DotSeparatedRule{}, tolva::parse_as<tolva::DotSeparated>(text),
        acceptance(detail::read_dot_separated_as<ParseError, nothing>(text, as_is)));
    expect_agreement<Other>(text, detail::OtherRule<Build::values>{},
                            tolva::parse_as<tolva::Other>(text),
                            acceptance(detail::read_other_as<ParseError, nothing>(text, as_is)));
  }
}

// A key made from the text is the key of the value read from it, appended
// behind what `out` held; a rejected text gives the reader's error and leaves
// `out` alone.
template <class K>
void expect_key_of_read(std::string_view text, PartOrder parts) {
  std::string out = "held";
  const auto made = append_order_key_as<K>(out, text, parts);
  const auto read = parse_as<K>(text);
  ASSERT_EQ(made.has_value(), read.has_value()) << '"' << text << '"';
  if (read) {
    EXPECT_EQ(out, "held" + order_key(Version{*read}, parts)) << '"' << text << '"';
  } else {
    EXPECT_EQ(made.error(), read.error()) << '"' << text << '"';
    EXPECT_EQ(out, "held");
  }
}

TEST(TextOrderKey, is_the_key_of_the_value_read_on_every_generated_text) {
  for (const std::string& text : generated_texts()) {
    for (PartOrder parts : {PartOrder::text, PartOrder::numeric}) {
      expect_key_of_read<Version>(text, parts);
      expect_key_of_read<SemVer>(text, parts);
      expect_key_of_read<DotSeparated>(text, parts);
      expect_key_of_read<Other>(text, parts);
    }
  }
}

// The 32-bit bound in each number, by the first try and by the reader, which
// takes the error from the recording reading.
struct BoundCase {
  std::string_view text;
  std::optional<std::array<std::uint32_t, 3>> numbers;  // none: rejected
  Span too_large = {};                                  // where the error marks it
};

void PrintTo(const BoundCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class NumberBound : public ::testing::TestWithParam<BoundCase> {};

TEST_P(NumberBound, holds_in_first_try_and_reader) {
  const BoundCase& c = GetParam();
  const auto first = first_try<SemVer>(c.text, detail::SemVerRule{});
  ASSERT_EQ(first.has_value(), c.numbers.has_value());
  const auto read = tolva::parse_as<tolva::SemVer>(c.text);
  ASSERT_EQ(read.has_value(), c.numbers.has_value());
  if (c.numbers) {
    for (const SemVer& v : {*first, *read})
      EXPECT_EQ((std::array{v.major, v.minor, v.patch}), *c.numbers);
  } else {
    EXPECT_EQ(read.error().span, c.too_large);
    EXPECT_EQ(read.error().found_kind, FoundKind::NumberTooLarge);
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
