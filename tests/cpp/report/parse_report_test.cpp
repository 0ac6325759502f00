#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/message.hpp"
#include "tolva/report/parse_report.hpp"

using tolva::grammar::ParseError;
using enum tolva::grammar::ExpectedPattern;

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
  EXPECT_EQ(tolva::report::build_parse_report(c.text, errors, c.type_path).message, c.message);
}

INSTANTIATE_TEST_SUITE_P(
    reports, parse_report_test,
    testing::Values(
        ReportCase{"character_after_semver", "1.2.3x",
                   {{5, 6}, U'x', {Digit, TokenHyphen, TokenPlus, EndOfInput}, {}}, semver_path,
                   "Error: \n"
                   "   ╭─[ tolva::package::version::semver::SemVer:1:6 ]\n"
                   "   │\n"
                   " 1 │ 1.2.3x\n"
                   "   │      ┬  \n"
                   "   │      ╰── found 'x' expected digit, '-', '+', or end of input\n"
                   "───╯\n"},
        ReportCase{"empty_text", "", {{0, 0}, std::nullopt, {TokenV, Integer}, {}}, semver_path,
                   "Error: \n"
                   "   ╭─[ tolva::package::version::semver::SemVer:1:1 ]\n"
                   "   │\n"
                   " 1 │ \n"
                   "   │ │ \n"
                   "   │ ╰─ found end of input expected 'v', or integer\n"
                   "───╯\n"},
        ReportCase{"blank_inside_identifier", "abc def",
                   {{3, 4}, U' ', {Identifier, EndOfInput}, {}},
                   "tolva::package::version::other::Other",
                   "Error: \n"
                   "   ╭─[ tolva::package::version::other::Other:1:4 ]\n"
                   "   │\n"
                   " 1 │ abc def\n"
                   "   │    ┬  \n"
                   "   │    ╰── found ' ' expected identifier, or end of input\n"
                   "───╯\n"},
        ReportCase{"leading_blank_kept", " 1.2.3",
                   {{0, 1}, U' ', {TokenV, Integer, DotList, EndOfInput, Identifier}, {}},
                   "tolva::package::version::Version",
                   "Error: \n"
                   "   ╭─[ tolva::package::version::Version:1:1 ]\n"
                   "   │\n"
                   " 1 │  1.2.3\n"
                   "   │ ┬  \n"
                   "   │ ╰── found ' ' expected 'v', integer, dot-separated list, end of input, "
                   "or identifier\n"
                   "───╯\n"},
        ReportCase{"trailing_blank_trimmed_but_marked", "1.2.3 ",
                   {{5, 6}, U' ', {Digit, TokenHyphen, TokenPlus, EndOfInput, PartChar, TokenDot},
                    {}},
                   "tolva::package::version::Version",
                   "Error: \n"
                   "   ╭─[ tolva::package::version::Version:1:6 ]\n"
                   "   │\n"
                   " 1 │ 1.2.3\n"
                   "   │      ┬  \n"
                   "   │      ╰── found ' ' expected digit, '-', '+', end of input, "
                   "alphanumeric or '-', or '.'\n"
                   "───╯\n"},
        ReportCase{"empty_span_at_the_end", "1.2.", {{4, 4}, std::nullopt, {PartChar}, {}},
                   "tolva::package::version::dot_separated::DotSeparated",
                   "Error: \n"
                   "   ╭─[ tolva::package::version::dot_separated::DotSeparated:1:5 ]\n"
                   "   │\n"
                   " 1 │ 1.2.\n"
                   "   │     │ \n"
                   "   │     ╰─ found end of input expected alphanumeric or '-'\n"
                   "───╯\n"},
        ReportCase{"label_ending_before_its_start", "abc", {{2, 1}, U'c', {Identifier}, {}},
                   semver_path, "Label start is after its end"}),
    [](const testing::TestParamInfo<ReportCase>& info) { return info.param.name; });

TEST(build_parse_report_test, empty_error_list_gives_an_error_not_a_crash) {
  tolva::Error error = tolva::report::build_parse_report("x", {}, semver_path);
  EXPECT_FALSE(error.message.empty());
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
        BytesCase{"a\xff" "b", "Invalid UTF-8 string: invalid utf-8 sequence of 1 bytes from index 1"},
        BytesCase{"\xe2\x82x", "Invalid UTF-8 string: invalid utf-8 sequence of 2 bytes from index 0"},
        BytesCase{"ab\xe2\x82", "Invalid UTF-8 string: incomplete utf-8 byte sequence from index 2"},
        BytesCase{"\xed\xa0\x80", "Invalid UTF-8 string: invalid utf-8 sequence of 1 bytes from index 0"},
        BytesCase{"\xc0\xaf", "Invalid UTF-8 string: invalid utf-8 sequence of 1 bytes from index 0"},
        BytesCase{"\xf4\x90\x80\x80",
                  "Invalid UTF-8 string: invalid utf-8 sequence of 1 bytes from index 0"}));

}  // namespace
