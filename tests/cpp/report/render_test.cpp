#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "text/utf8.hpp"
#include "tolva/report/render.hpp"

using tolva::report::Colour;
using tolva::report::Label;
using tolva::report::Report;

namespace {

constexpr Colour label_colour{Colour::Kind::Palette, 201};

Report make_report(std::vector<std::pair<tolva::grammar::Span, std::string>> labels,
                   std::size_t position) {
  Report report{.source_id = "id", .position = position, .labels = {}};
  for (auto& [span, text] : labels) report.labels.push_back(Label{span, text, label_colour});
  return report;
}

// The text with every ESC [ ... m sequence removed.
std::string strip_colour(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\x1b') {
      i = text.find('m', i);
      continue;
    }
    out += text[i];
  }
  return out;
}

std::string painted(int code, std::string_view piece) {
  return "\x1b[38;5;" + std::to_string(code) + "m" + std::string(piece) + "\x1b[0m";
}

struct LayoutCase {
  const char* name;
  std::string source;
  std::vector<std::pair<tolva::grammar::Span, std::string>> labels;
  std::size_t position;
  const char* expected;
};

class render_layout_test : public testing::TestWithParam<LayoutCase> {};

TEST_P(render_layout_test, draws_rows_and_colour_changes_nothing_but_escapes) {
  const LayoutCase& c = GetParam();
  Report report = make_report(c.labels, c.position);
  auto plain = tolva::report::render_report(report, c.source, false);
  ASSERT_TRUE(plain.has_value()) << plain.error();
  EXPECT_EQ(*plain, c.expected);
  EXPECT_EQ(plain->find('\x1b'), std::string::npos);

  auto coloured = tolva::report::render_report(report, c.source, true);
  ASSERT_TRUE(coloured.has_value());
  EXPECT_EQ(strip_colour(*coloured), *plain);
}

// One case a row group, laid out by hand.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    layouts, render_layout_test,
    testing::Values(
        LayoutCase{"tab_to_next_multiple_of_four", "ab\tc", {{{3, 4}, "L"}}, 3,
                   "Error: \n   ╭─[ id:1:4 ]\n   │\n 1 │ ab  c\n   │     ┬  \n"
                   "   │     ╰── L\n───╯\n"},
        LayoutCase{"wide_white_space_as_one_blank", "a\u3000b", {{{4, 5}, "L"}}, 4,
                   "Error: \n   ╭─[ id:1:3 ]\n   │\n 1 │ a b\n   │   ┬  \n"
                   "   │   ╰── L\n───╯\n"},
        LayoutCase{"wide_character_widens_its_cell", "中x", {{{3, 4}, "L"}}, 3,
                   "Error: \n   ╭─[ id:1:2 ]\n   │\n 1 │ 中x\n   │   ┬  \n"
                   "   │   ╰── L\n───╯\n"},
        LayoutCase{"mark_on_zero_width_character_stays_visible", "e\u0301x", {{{1, 3}, "L"}}, 1,
                   "Error: \n   ╭─[ id:1:2 ]\n   │\n 1 │ e\u0301x\n   │  ┬  \n"
                   "   │  ╰── L\n───╯\n"},
        LayoutCase{"byte_offsets_become_character_positions", "éé!", {{{4, 5}, "L"}}, 4,
                   "Error: \n   ╭─[ id:1:3 ]\n   │\n 1 │ éé!\n   │   ┬  \n"
                   "   │   ╰── L\n───╯\n"},
        LayoutCase{"second_line_counts_its_own_characters", "é\n日本 x", {{{10, 11}, "L"}}, 10,
                   "Error: \n   ╭─[ id:2:4 ]\n   │\n 2 │ 日本 x\n   │      ┬  \n"
                   "   │      ╰── L\n───╯\n"},
        LayoutCase{"span_past_the_text_is_clamped", "abc", {{{7, 9}, "L"}}, 7,
                   "Error: \n   ╭─[ id:1:4 ]\n   │\n 1 │ abc\n   │    │ \n"
                   "   │    ╰─ L\n───╯\n"},
        LayoutCase{"crlf_is_one_line_break", "ab\r\ncd", {{{4, 5}, "L"}}, 4,
                   "Error: \n   ╭─[ id:2:1 ]\n   │\n 2 │ cd\n   │ ┬  \n"
                   "   │ ╰── L\n───╯\n"},
        LayoutCase{"line_numbers_right_aligned", "a\nb\nc\nd\ne\nf\ng\nh\ni\nj",
                   {{{0, 1}, "first"}, {{18, 19}, "tenth"}}, 0,
                   "Error: \n    ╭─[ id:1:1 ]\n    │\n  1 │ a\n    │ ┬  \n    │ ╰── first\n"
                   " 10 │ j\n    │ ┬  \n    │ ╰── tenth\n────╯\n"},
        LayoutCase{"two_labels_on_one_line", "abc", {{{0, 1}, "one"}, {{2, 3}, "two"}}, 0,
                   "Error: \n   ╭─[ id:1:1 ]\n   │\n 1 │ abc\n   │ ┬  \n   │ ╰── one\n"
                   "   │   ┬  \n   │   ╰── two\n───╯\n"},
        LayoutCase{"escape_sequence_in_text_shown_as_stand_ins", "a\x1b[2J\x07\x7f" "b",
                   {{{1, 2}, "L"}}, 1,
                   "Error: \n   ╭─[ id:1:2 ]\n   │\n 1 │ a␛[2J␇␡b\n   │  ┬  \n"
                   "   │  ╰── L\n───╯\n"},
        LayoutCase{"c1_control_shown_as_replacement", "a\u009b" "b", {{{1, 4}, "L"}}, 1,
                   "Error: \n   ╭─[ id:1:2 ]\n   │\n 1 │ a\uFFFDb\n   │  ─┬  \n"
                   "   │   ╰── L\n───╯\n"},
        LayoutCase{"ill_formed_utf8_shown_as_replacement", "a\xff\xe2\x82" "b", {{{4, 5}, "L"}},
                   4,
                   "Error: \n   ╭─[ id:1:4 ]\n   │\n 1 │ a\uFFFD\uFFFDb\n   │    ┬  \n"
                   "   │    ╰── L\n───╯\n"}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return info.param.name; });
// clang-format on

TEST(render_test, colour_pieces_of_a_single_line_report) {
  Report report = make_report({{{5, 6}, "found 'x' expected digit"}}, 5);
  report.source_id = "tolva::package::version::semver::SemVer";
  auto text = tolva::report::render_report(report, "1.2.3x", true);
  ASSERT_TRUE(text.has_value());
  std::string expected = "\x1b[31mError:\x1b[0m \n";
  expected += "   " + painted(246, "╭") + painted(246, "─") + painted(246, "[") +
              " tolva::package::version::semver::SemVer:1:6 " + painted(246, "]") + "\n";
  expected += "   " + painted(246, "│") + "\n";
  expected += " " + painted(246, "1 │") + " " + painted(249, "1") + painted(249, ".") +
              painted(249, "2") + painted(249, ".") + painted(249, "3") + painted(201, "x") + "\n";
  expected += " " + painted(240, "  │") + " " + "     " + painted(201, "┬") + "  \n";
  expected += " " + painted(240, "  │") + " " + "     " + painted(201, "╰") + painted(201, "─") +
              painted(201, "─") + " found 'x' expected digit\n";
  expected += painted(246, "───╯") + "\n";
  EXPECT_EQ(*text, expected);
}

TEST(render_test, each_blank_of_a_tab_is_its_own_piece) {
  Report report = make_report({{{0, 2}, "L"}}, 0);
  auto text = tolva::report::render_report(report, "\tx", true);
  ASSERT_TRUE(text.has_value());
  std::string row = " " + painted(246, "1 │") + " " + painted(201, " ") + painted(201, " ") +
                    painted(201, " ") + painted(201, " ") + painted(201, "x") + "\n";
  EXPECT_NE(text->find(row), std::string::npos) << *text;
}

// Offsets of non-ASCII text land anywhere; every span must still render as
// seven rows of well-formed UTF-8.
TEST(render_test, any_span_over_non_ascii_text_renders) {
  for (std::string source : {"é", "éé x", "中文版本", "👍🏽ok", "e\u0301\u0301", "a\u200Db"}) {
    for (std::size_t start = 0; start <= source.size() + 1; ++start) {
      for (std::size_t end = start; end <= source.size() + 1; ++end) {
        Report report = make_report({{{start, end}, "L"}}, start);
        for (bool colour : {false, true}) {
          auto text = tolva::report::render_report(report, source, colour);
          ASSERT_TRUE(text.has_value());
          EXPECT_TRUE(tolva::text::is_valid_utf8(*text)) << source << " " << start;
          EXPECT_EQ(std::count(text->begin(), text->end(), '\n'), 7) << source << " " << start;
        }
      }
    }
  }
}

// The rows of `text`, line feeds dropped.
std::vector<std::string> rows_of(const std::string& text) {
  std::vector<std::string> rows;
  for (std::size_t at = 0, next; (next = text.find('\n', at)) != std::string::npos; at = next + 1)
    rows.push_back(text.substr(at, next - at));
  return rows;
}

std::size_t characters(std::string_view text) {
  return std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; });
}

struct WindowCase {
  std::size_t before;   // 'a's before the marked x
  std::string between;  // drawn between them and x
  std::size_t after;    // 'b's after it
  std::string row;      // the source row after its margin, with A for 256 'a's and B for 256 'b's
  std::size_t mark;     // the display column of x in it
};

class render_window_test : public testing::TestWithParam<WindowCase> {};

// A side of a long line is cut to 256 characters when more than 512 stand
// there (past the marks, which run one past the span); the marks stay under x.
TEST_P(render_window_test, cuts_far_sides_and_keeps_marks_under_the_found_character) {
  const WindowCase& c = GetParam();
  const std::string source =
      std::string(c.before, 'a') + c.between + "x" + std::string(c.after, 'b');
  const std::size_t x = source.find('x');
  const std::size_t x_chars = c.before + characters(c.between);
  Report report = make_report({{{x, x + 1}, "L"}}, x);
  for (bool colour : {false, true}) {
    auto text = tolva::report::render_report(report, source, colour);
    ASSERT_TRUE(text.has_value());
    std::vector<std::string> rows = rows_of(strip_colour(*text));
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[1], "   ╭─[ id:1:" + std::to_string(x_chars + 1) + " ]");
    std::string expected = c.row;
    for (auto [from, to] : {std::pair{"A", std::string(256, 'a')}, {"B", std::string(256, 'b')}})
      for (std::size_t at; (at = expected.find(from)) != std::string::npos;)
        expected.replace(at, 1, to);
    EXPECT_EQ(rows[3], " 1 │ " + expected);
    EXPECT_EQ(rows[4], "   │ " + std::string(c.mark, ' ') + "┬  ");
    EXPECT_EQ(rows[5], "   │ " + std::string(c.mark, ' ') + "╰── L");
  }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    windows, render_window_test,
    testing::Values(
        WindowCase{512, "", 514, "AAxBBbb", 512},
        WindowCase{513, "", 515, "…AxBbb…", 257},
        WindowCase{600, "", 600, "…AxBbb…", 257},
        WindowCase{600, "é漢", 0, "…" + std::string(254, 'a') + "é漢x", 258},
        // Tab stops count from the cut mark, not from the line's start.
        WindowCase{599, "\t", 0, "…" + std::string(255, 'a') + "    x", 260}));
// clang-format on

}  // namespace
