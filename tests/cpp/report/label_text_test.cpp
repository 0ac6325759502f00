#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

#include "tolva/report/parse_report.hpp"

using tolva::grammar::FoundKind;
using tolva::grammar::ParseError;
constexpr tolva::grammar::ExpectedPattern TokenV{tolva::grammar::ExpectedPattern::TokenV};
constexpr tolva::grammar::ExpectedPattern TokenHyphen{tolva::grammar::ExpectedPattern::TokenHyphen};
constexpr tolva::grammar::ExpectedPattern TokenPlus{tolva::grammar::ExpectedPattern::TokenPlus};
constexpr tolva::grammar::ExpectedPattern DotList{tolva::grammar::ExpectedPattern::DotList};
constexpr tolva::grammar::ExpectedPattern Digit{tolva::grammar::ExpectedPattern::Digit};
constexpr tolva::grammar::ExpectedPattern Integer{tolva::grammar::ExpectedPattern::Integer};
constexpr tolva::grammar::ExpectedPattern Identifier{tolva::grammar::ExpectedPattern::Identifier};
constexpr tolva::grammar::ExpectedPattern EndOfInput{tolva::grammar::ExpectedPattern::EndOfInput};

const std::string nines_512(512, '9');
const std::string nines_513(513, '9');

// Made by a function: a nested brace list that leaves found_kind to its
// default trips g++ 12's -Wmaybe-uninitialized in the table below.
ParseError error(tolva::grammar::Span span, std::optional<char32_t> found,
                 tolva::List<tolva::grammar::ExpectedPattern> expected,
                 FoundKind kind = FoundKind::Character) {
  return ParseError{span, found, std::move(expected), kind};
}

struct LabelCase {
  ParseError error;
  std::string text;
  std::string_view source = "";
};

class label_text_test : public testing::TestWithParam<LabelCase> {};

TEST_P(label_text_test, describes_found_and_expected) {
  EXPECT_EQ(tolva::report::label_text(GetParam().error, GetParam().source), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    cases, label_text_test,
    testing::Values(
        LabelCase{error({5, 6}, U'x', {Digit, TokenHyphen, TokenPlus, EndOfInput}),
                  "found 'x' expected digit, '-', '+', or end of input"},
        LabelCase{error({0, 0}, std::nullopt, {TokenV, Integer}),
                  "found end of input expected 'v', or integer"},
        LabelCase{error({3, 4}, U' ', {Identifier, EndOfInput}),
                  "found ' ' expected identifier, or end of input"},
        LabelCase{error({2, 3}, U'.', {Integer}), "found '.' expected integer"},
        LabelCase{error({0, 0}, std::nullopt, {}), "found end of input expected something else"},
        LabelCase{error({0, 2}, U'é', {DotList, EndOfInput}),
                  "found 'é' expected dot-separated list, or end of input"},
        // Control characters never reach the message raw.
        LabelCase{error({0, 1}, U'\x1b', {Identifier}), "found '\u241b' expected identifier"},
        LabelCase{error({0, 1}, U'\x7f', {Identifier}), "found '\u2421' expected identifier"},
        LabelCase{error({0, 2}, U'\u009b', {Identifier}), "found '\uFFFD' expected identifier"},
        LabelCase{error({0, 1}, U'\t', {Identifier}), "found '\u2409' expected identifier"},
        // Characters that are not drawn yet change how a line reads are named.
        LabelCase{error({0, 3}, U'\u202E', {Identifier}), "found '<U+202E>' expected identifier"},
        LabelCase{error({0, 3}, U'\u2028', {Identifier}), "found '<U+2028>' expected identifier"},
        LabelCase{error({0, 2}, U'\u00AD', {Identifier}), "found '<U+00AD>' expected identifier"},
        LabelCase{error({0, 4}, U'\U000E0001', {Identifier}),
                  "found '<U+E0001>' expected identifier"},
        LabelCase{error({3, 4}, U'\n', {EndOfInput}), "found '\u240a' expected end of input"},
        LabelCase{error({3, 4}, U'\r', {EndOfInput}), "found '\u240d' expected end of input"},
        // Bytes that are no character are named byte by byte.
        LabelCase{error({1, 3}, U'\uFFFD', {Identifier, EndOfInput}, FoundKind::IllFormedUtf8),
                  "found invalid UTF-8 \\xe2\\x82 expected identifier, or end of input",
                  "a\xE2\x82"},
        // A number above the range is named whole, and only its digits are copied.
        LabelCase{error({0, 10}, U'4', {TokenV, Integer}, FoundKind::NumberTooLarge),
                  "found 4294967296 (above 4294967295) expected 'v', or integer", "4294967296.1.2"},
        // A number as long as a line that a report cuts is cut the same way.
        LabelCase{error({0, 512}, U'9', {Integer}, FoundKind::NumberTooLarge),
                  "found " + nines_512 + " (above 4294967295) expected integer", nines_512},
        LabelCase{error({0, 513}, U'9', {Integer}, FoundKind::NumberTooLarge),
                  "found " + nines_513.substr(0, 256) + "… (above 4294967295) expected integer",
                  nines_513}));
