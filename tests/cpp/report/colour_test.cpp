#include <gtest/gtest.h>

#include <string>

#include "report/label_colours.hpp"
#include "report/palette.hpp"

using tolva::report::Colour;

TEST(colour_test, paint_wraps_piece_in_its_escape_sequence_only_when_on) {
  std::string out;
  tolva::report::paint(out, tolva::report::error_colour, "Error:", true);
  tolva::report::paint(out, tolva::report::frame_colour, "\u2502", true);
  tolva::report::paint(out, Colour{Colour::Kind::Palette, 7}, "x", true);
  tolva::report::paint(out, tolva::report::frame_colour, "plain", false);
  EXPECT_EQ(out, "\x1b[31mError:\x1b[0m\x1b[38;5;246m\u2502\x1b[0m\x1b[38;5;7mx\x1b[0mplain");
}

TEST(colour_test, label_colours_start_with_the_fixed_sequence_and_restart) {
  for (int round = 0; round < 2; ++round) {
    tolva::report::LabelColours colours;
    for (int expected : {201, 155, 187, 218}) {
      EXPECT_EQ(colours.next(), (Colour{Colour::Kind::Palette, static_cast<std::uint8_t>(expected)}));
    }
  }
}
