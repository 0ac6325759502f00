#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "read_any.hpp"

namespace tolva::grammar {
namespace {

using testing::read_any;
using testing::Reader;
using P = ExpectedPattern;

struct ValueCase {
  Reader reader;
  std::string text;
  std::string value;
};

void PrintTo(const ValueCase& c, std::ostream* os) { *os << c.reader << " \"" << c.text << '"'; }

class ReadValue : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ReadValue, gives_the_value) {
  const auto& c = GetParam();
  const auto result = read_any(c.reader, c.text);
  ASSERT_TRUE(result.has_value()) << "failed at " << result.error().span.start;
  EXPECT_EQ(*result, c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, ReadValue,
    ::testing::Values(
        ValueCase{Reader::Version, "1.2.3", "SemVer 1 2 3 rc:none meta:none"},
        ValueCase{Reader::Version, "v1.2.3", "SemVer 1 2 3 rc:none meta:none"},
        ValueCase{Reader::Version, "V1.2.3", "Dot [V1|2|3]"},
        ValueCase{Reader::Version, "1.2.3-rc.1+build.5", "SemVer 1 2 3 rc:[rc|1] meta:[build|5]"},
        ValueCase{Reader::Version, "1.2.3-", "SemVer 1 2 3 rc:[] meta:none"},
        ValueCase{Reader::Version, "1.2.3-+", "SemVer 1 2 3 rc:[] meta:[]"},
        ValueCase{Reader::Version, "1.2.3+x", "SemVer 1 2 3 rc:none meta:[x]"},
        ValueCase{Reader::Version, "01.02.3", "SemVer 1 2 3 rc:none meta:none"},
        // Numbers past the 32-bit range are kept as text rather than changed.
        ValueCase{Reader::Version, "4294967296.0.0", "Dot [4294967296|0|0]"},
        ValueCase{Reader::Version, "4294967295.0.99999999999999999999",
                  "Dot [4294967295|0|99999999999999999999]"},
        ValueCase{Reader::Version, "4294967295.0.4294967295-x",
                  "SemVer 4294967295 0 4294967295 rc:[x] meta:none"},
        ValueCase{Reader::Version, "1.2", "Dot [1|2]"},
        ValueCase{Reader::Version, "1.2.3.4", "Dot [1|2|3|4]"},
        ValueCase{Reader::Version, "abc", "Dot [abc]"},
        ValueCase{Reader::Version, "", "Dot []"},
        ValueCase{Reader::Version, "foo_bar", "Other foo_bar"},
        ValueCase{Reader::Version, "_", "Other _"},
        ValueCase{Reader::Version, "\xC3\xA9t\xC3\xA9", "Other \xC3\xA9t\xC3\xA9"},
        ValueCase{Reader::SemVer, "1.2.3+b-c", "SemVer 1 2 3 rc:none meta:[b-c]"},
        ValueCase{Reader::SemVer, "1.2.3-a-b", "SemVer 1 2 3 rc:[a-b] meta:none"},
        ValueCase{Reader::SemVer, "1.2.3--1", "SemVer 1 2 3 rc:[-1] meta:none"},
        ValueCase{Reader::SemVer, "v0.0.007-007", "SemVer 0 0 7 rc:[007] meta:none"},
        ValueCase{Reader::DotSeparated, "-.-", "Dot [-|-]"},
        ValueCase{Reader::DotSeparated, "", "Dot []"},
        ValueCase{Reader::Other, "x1_\xCC\x81", "Other x1_\xCC\x81"}));

struct ErrorCase {
  Reader reader;
  std::string text;
  Span span;
  std::optional<char32_t> found;
  List<ExpectedPattern> expected;
  FoundKind kind = FoundKind::Character;
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.reader << " \"" << c.text << '"'; }

class ReadError : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ReadError, reports_the_furthest_failure) {
  const auto& c = GetParam();
  const auto result = read_any(c.reader, c.text);
  ASSERT_FALSE(result.has_value()) << *result;
  const ParseError& e = result.error();
  EXPECT_EQ(e.span, c.span) << e.span.start << ".." << e.span.end;
  EXPECT_EQ(e.found, c.found);
  EXPECT_EQ(e.expected, c.expected);
  EXPECT_EQ(e.found_kind, c.kind);
}

constexpr std::optional<char32_t> eoi = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Grammar, ReadError,
    ::testing::Values(
        ErrorCase{Reader::SemVer, "", {0, 0}, eoi, {P::TokenV, P::Integer}},
        ErrorCase{Reader::SemVer, "v", {1, 1}, eoi, {P::Integer}},
        ErrorCase{Reader::SemVer, "1.2", {3, 3}, eoi, {P::Digit, P::TokenDot}},
        ErrorCase{Reader::SemVer, "1..2", {2, 3}, U'.', {P::Integer}},
        ErrorCase{Reader::SemVer, "1.2.3x", {5, 6}, U'x',
                  {P::Digit, P::TokenHyphen, P::TokenPlus, P::EndOfInput}},
        ErrorCase{Reader::SemVer, "1.2.3.4", {5, 6}, U'.',
                  {P::Digit, P::TokenHyphen, P::TokenPlus, P::EndOfInput}},
        ErrorCase{Reader::SemVer, "1.2.3-!", {6, 7}, U'!',
                  {P::DotList, P::TokenPlus, P::EndOfInput}},
        ErrorCase{Reader::SemVer, "1.2.3-a..b", {8, 9}, U'.', {P::PartChar}},
        // A number above the 32-bit range is marked whole, in each of the three places.
        ErrorCase{Reader::SemVer, "4294967296.0.0", {0, 10}, U'4', {P::TokenV, P::Integer},
                  FoundKind::NumberTooLarge},
        ErrorCase{Reader::SemVer, "v1.004294967296.0", {3, 15}, U'0', {P::Integer},
                  FoundKind::NumberTooLarge},
        ErrorCase{Reader::SemVer, "1.0.18446744073709551617", {4, 24}, U'1', {P::Integer},
                  FoundKind::NumberTooLarge},
        ErrorCase{Reader::Version, "1.2.99999999999_", {15, 16}, U'_',
                  {P::PartChar, P::TokenDot, P::EndOfInput}},
        // Ill-formed UTF-8 is found as such, never read past the end of the text.
        ErrorCase{Reader::Other, "a\xE2", {1, 2}, U'\uFFFD', {P::Identifier, P::EndOfInput},
                  FoundKind::IllFormedUtf8},
        ErrorCase{Reader::Other, "a\xF0\x9F\x98", {1, 4}, U'\uFFFD',
                  {P::Identifier, P::EndOfInput}, FoundKind::IllFormedUtf8},
        ErrorCase{Reader::SemVer, "1.2.3-\xED\xA0\x80", {6, 7}, U'\uFFFD',
                  {P::DotList, P::TokenPlus, P::EndOfInput}, FoundKind::IllFormedUtf8},
        ErrorCase{Reader::DotSeparated, "a.\xC0\x80", {2, 3}, U'\uFFFD', {P::PartChar},
                  FoundKind::IllFormedUtf8},
        ErrorCase{Reader::Version, "\xFF", {0, 1}, U'\uFFFD',
                  {P::TokenV, P::Integer, P::DotList, P::EndOfInput, P::Identifier},
                  FoundKind::IllFormedUtf8},
        ErrorCase{Reader::SemVer, "V1.2.3", {0, 1}, U'V', {P::TokenV, P::Integer}},
        ErrorCase{Reader::SemVer, "1.2.3+a+b", {7, 8}, U'+',
                  {P::PartChar, P::TokenDot, P::EndOfInput}},
        ErrorCase{Reader::DotSeparated, ".a", {0, 1}, U'.', {P::DotList, P::EndOfInput}},
        ErrorCase{Reader::DotSeparated, "1.2.", {4, 4}, eoi, {P::PartChar}},
        ErrorCase{Reader::DotSeparated, "a_b", {1, 2}, U'_',
                  {P::PartChar, P::TokenDot, P::EndOfInput}},
        ErrorCase{Reader::DotSeparated, "\xC3\xA9", {0, 2}, U'\u00E9',
                  {P::DotList, P::EndOfInput}},
        ErrorCase{Reader::Other, "", {0, 0}, eoi, {P::Identifier}},
        ErrorCase{Reader::Other, "1abc", {0, 1}, U'1', {P::Identifier}},
        ErrorCase{Reader::Other, "abc def", {3, 4}, U' ', {P::Identifier, P::EndOfInput}},
        ErrorCase{Reader::Other, "\xC3\xA9 ", {2, 3}, U' ', {P::Identifier, P::EndOfInput}},
        ErrorCase{Reader::Other, "a\xE2\x82\xAC", {1, 4}, U'\u20AC',
                  {P::Identifier, P::EndOfInput}},
        ErrorCase{Reader::Version, " 1.2.3", {0, 1}, U' ',
                  {P::TokenV, P::Integer, P::DotList, P::EndOfInput, P::Identifier}},
        ErrorCase{Reader::Version, "1.2.", {4, 4}, eoi, {P::Integer, P::PartChar}},
        ErrorCase{Reader::Version, "1.2.3 ", {5, 6}, U' ',
                  {P::Digit, P::TokenHyphen, P::TokenPlus, P::EndOfInput, P::PartChar,
                   P::TokenDot}},
        ErrorCase{Reader::Version, "1.2.3-!", {6, 7}, U'!',
                  {P::DotList, P::TokenPlus, P::EndOfInput, P::PartChar, P::TokenDot}},
        ErrorCase{Reader::Version, "x y", {1, 2}, U' ',
                  {P::PartChar, P::TokenDot, P::EndOfInput, P::Identifier}},
        // The dot list's two patterns outnumber the one of the semver reading at
        // the same position, so they lead the merged list.
        ErrorCase{Reader::Version, "v!", {1, 2}, U'!',
                  {P::PartChar, P::TokenDot, P::Integer, P::EndOfInput, P::Identifier}},
        ErrorCase{Reader::Version, "1_!", {1, 2}, U'_',
                  {P::Digit, P::TokenDot, P::PartChar, P::EndOfInput}}));

}  // namespace
}  // namespace tolva::grammar
