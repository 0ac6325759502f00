#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/drawn_report.hpp"
#include "report/message.hpp"
#include "text/utf8.hpp"
#include "tolva/parse.hpp"
#include "tolva/report/parse_report.hpp"

using tolva::grammar::ParseError;
constexpr tolva::grammar::ExpectedPattern TokenV{tolva::grammar::ExpectedPattern::TokenV};
constexpr tolva::grammar::ExpectedPattern TokenDot{tolva::grammar::ExpectedPattern::TokenDot};
constexpr tolva::grammar::ExpectedPattern TokenHyphen{tolva::grammar::ExpectedPattern::TokenHyphen};
constexpr tolva::grammar::ExpectedPattern TokenPlus{tolva::grammar::ExpectedPattern::TokenPlus};
constexpr tolva::grammar::ExpectedPattern PartChar{tolva::grammar::ExpectedPattern::PartChar};
constexpr tolva::grammar::ExpectedPattern DotList{tolva::grammar::ExpectedPattern::DotList};
constexpr tolva::grammar::ExpectedPattern Digit{tolva::grammar::ExpectedPattern::Digit};
constexpr tolva::grammar::ExpectedPattern Integer{tolva::grammar::ExpectedPattern::Integer};
constexpr tolva::grammar::ExpectedPattern Identifier{tolva::grammar::ExpectedPattern::Identifier};
constexpr tolva::grammar::ExpectedPattern EndOfInput{tolva::grammar::ExpectedPattern::EndOfInput};

namespace {

constexpr const char* semver_path = "tolva::package::version::semver::SemVer";

struct ReportCase {
  const char* name;
  std::string text;
  ParseError error;
  const char* type_path;
  const char* message;
};

class parse_report_test : public testing::TestWithParam<ReportCase> {};

TEST_P(parse_report_test, message_is_the_plain_report) {
  const ReportCase& c = GetParam();
  std::vector<ParseError> errors{c.error};
  EXPECT_EQ(tolva::report::drawn_report(c.text, errors, {.source_name = c.type_path}), c.message);
}

INSTANTIATE_TEST_SUITE_P(
    reports, parse_report_test,
    testing::Values(
        ReportCase{"character_after_semver",
                   "1.2.3x",
                   {{5, 6}, U'x', {Digit, TokenHyphen, TokenPlus, EndOfInput}},
                   semver_path,
                   "Error: \n"
                   "   ╭─[ tolva::package::version::semver::SemVer:1:6 ]\n"
                   "   │\n"
                   " 1 │ 1.2.3x\n"
                   "   │      ┬  \n"
                   "   │      ╰── found 'x' expected digit, '-', '+', or end of input\n"
                   "───╯\n"},
        ReportCase{"empty_text",
                   "",
                   {{0, 0}, std::nullopt, {TokenV, Integer}},
                   semver_path,
                   "Error: \n"
                   "   ╭─[ tolva::package::version::semver::SemVer:1:1 ]\n"
                   "   │\n"
                   " 1 │ \n"
                   "   │ │ \n"
                   "   │ ╰─ found end of input expected 'v', or integer\n"
                   "───╯\n"},
        ReportCase{"blank_inside_identifier",
                   "abc def",
                   {{3, 4}, U' ', {Identifier, EndOfInput}},
                   "tolva::package::version::other::Other",
                   "Error: \n"
                   "   ╭─[ tolva::package::version::other::Other:1:4 ]\n"
                   "   │\n"
                   " 1 │ abc def\n"
                   "   │    ┬  \n"
                   "   │    ╰── found ' ' expected identifier, or end of input\n"
                   "───╯\n"},
        ReportCase{"leading_blank_kept",
                   " 1.2.3",
                   {{0, 1}, U' ', {TokenV, Integer, DotList, EndOfInput, Identifier}},
                   "tolva::package::version::Version",
                   "Error: \n"
                   "   ╭─[ tolva::package::version::Version:1:1 ]\n"
                   "   │\n"
                   " 1 │  1.2.3\n"
                   "   │ ┬  \n"
                   "   │ ╰── found ' ' expected 'v', integer, dot-separated list, end of input, "
                   "or identifier\n"
                   "───╯\n"},
        ReportCase{
            "trailing_blank_trimmed_but_marked",
            "1.2.3 ",
            {{5, 6}, U' ', {Digit, TokenHyphen, TokenPlus, EndOfInput, PartChar, TokenDot}, {}},
            "tolva::package::version::Version",
            "Error: \n"
            "   ╭─[ tolva::package::version::Version:1:6 ]\n"
            "   │\n"
            " 1 │ 1.2.3\n"
            "   │      ┬  \n"
            "   │      ╰── found ' ' expected digit, '-', '+', end of input, "
            "alphanumeric or '-', or '.'\n"
            "───╯\n"},
        ReportCase{"empty_span_at_the_end",
                   "1.2.",
                   {{4, 4}, std::nullopt, {PartChar}},
                   "tolva::package::version::dot_separated::DotSeparated",
                   "Error: \n"
                   "   ╭─[ tolva::package::version::dot_separated::DotSeparated:1:5 ]\n"
                   "   │\n"
                   " 1 │ 1.2.\n"
                   "   │     │ \n"
                   "   │     ╰─ found end of input expected alphanumeric or '-'\n"
                   "───╯\n"},
        ReportCase{"label_ending_before_its_start",
                   "abc",
                   {{2, 1}, U'c', {Identifier}},
                   semver_path,
                   "Label start is after its end"}),
    [](const testing::TestParamInfo<ReportCase>& info) { return info.param.name; });

// Each kind of character a report names, placed at the found position,
// before it and after it: it never reaches the message raw, its name stands
// in the source row and the label, and the marks stay under the found
// character on screen.
struct NamedCase {
  const char* name;
  std::string bytes;
  std::string shown;
};

class named_character_test : public testing::TestWithParam<NamedCase> {};

std::string report_over(const std::string& text, std::size_t start, std::size_t length) {
  const auto found = tolva::text::decode_utf8(text, start).code_point;
  std::vector<ParseError> errors{{{start, start + length}, found, {EndOfInput}}};
  return tolva::report::drawn_report(text, errors, {.source_name = "id"});
}

TEST_P(named_character_test, is_named_wherever_it_stands) {
  const NamedCase& c = GetParam();
  const std::size_t n = c.bytes.size();
  const std::string at = report_over("x" + c.bytes + "y", 1, n);
  const std::string before = report_over(c.bytes + "x y", n + 1, 1);
  const std::string after = report_over("x y" + c.bytes, 1, 1);
  for (const std::string& message : {at, before, after})
    EXPECT_EQ(message.find(c.bytes), std::string::npos) << message;

  EXPECT_NE(at.find(" 1 │ x" + c.shown + "y\n   │  ┬─"), std::string::npos) << at;
  EXPECT_NE(at.find("found '" + c.shown + "' expected"), std::string::npos) << at;
  EXPECT_NE(before.find("[ id:1:3 ]"), std::string::npos) << before;
  EXPECT_NE(
      before.find(" 1 │ " + c.shown + "x y\n   │ " + std::string(c.shown.size() + 1, ' ') + "┬"),
      std::string::npos)
      << before;
  EXPECT_NE(after.find(" 1 │ x y" + c.shown + "\n   │  ┬  \n"), std::string::npos) << after;
}

INSTANTIATE_TEST_SUITE_P(classes, named_character_test,
                         testing::Values(NamedCase{"right_to_left_override", "\u202E", "<U+202E>"},
                                         NamedCase{"left_to_right_isolate", "\u2066", "<U+2066>"},
                                         NamedCase{"pop_directional_isolate", "\u2069", "<U+2069>"},
                                         NamedCase{"left_to_right_mark", "\u200E", "<U+200E>"},
                                         NamedCase{"arabic_letter_mark", "\u061C", "<U+061C>"},
                                         NamedCase{"zero_width_space", "\u200B", "<U+200B>"},
                                         NamedCase{"zero_width_joiner", "\u200D", "<U+200D>"},
                                         NamedCase{"byte_order_mark", "\uFEFF", "<U+FEFF>"},
                                         NamedCase{"soft_hyphen", "\u00AD", "<U+00AD>"},
                                         NamedCase{"language_tag", "\U000E0001", "<U+E0001>"}),
                         [](const testing::TestParamInfo<NamedCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(drawn_report_test, empty_error_list_gives_an_error_not_a_crash) {
  EXPECT_FALSE(tolva::report::drawn_report("x", {}, {.source_name = semver_path}).empty());
}

TEST(drawn_report_test, explain_without_a_style_reads_no_environment) {
  setenv("CLICOLOR_FORCE", "1", 1);
  const std::string message = tolva::explain(tolva::parse_as<tolva::SemVer>("1.x").error(), "1.x");
  unsetenv("CLICOLOR_FORCE");
  EXPECT_EQ(message.find('\x1b'), std::string::npos);
}

struct BytesCase {
  std::string bytes;
  const char* message;
};

class message_from_bytes_test : public testing::TestWithParam<BytesCase> {};

TEST_P(message_from_bytes_test, keeps_utf8_and_describes_the_first_fault) {
  EXPECT_EQ(tolva::report::message_from_bytes(GetParam().bytes), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    bytes, message_from_bytes_test,
    testing::Values(
        BytesCase{"Error: é 中 👍", "Error: é 中 👍"},
        BytesCase{"a\xff"
                  "b",
                  "Invalid UTF-8 string: invalid utf-8 sequence of 1 bytes from index 1"},
        BytesCase{"\xe2\x82x",
                  "Invalid UTF-8 string: invalid utf-8 sequence of 2 bytes from index 0"},
        BytesCase{"ab\xe2\x82",
                  "Invalid UTF-8 string: incomplete utf-8 byte sequence from index 2"},
        BytesCase{"\xed\xa0\x80",
                  "Invalid UTF-8 string: invalid utf-8 sequence of 1 bytes from index 0"},
        BytesCase{"\xc0\xaf",
                  "Invalid UTF-8 string: invalid utf-8 sequence of 1 bytes from index 0"},
        BytesCase{"\xf4\x90\x80\x80",
                  "Invalid UTF-8 string: invalid utf-8 sequence of 1 bytes from index 0"}));

}  // namespace
