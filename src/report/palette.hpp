#pragma once

#include <string>
#include <string_view>

#include "tolva/report/colour.hpp"

// The fixed colours of a report's frame and text, and how a piece is painted.
namespace tolva::report {

inline constexpr Colour error_colour{Colour::Kind::Basic, 31};
// Frame, brackets, line-number margin and closing row.
inline constexpr Colour frame_colour{Colour::Kind::Palette, 246};
// The margin of the rows below a source line.
inline constexpr Colour below_margin_colour{Colour::Kind::Palette, 240};
// Source characters that no label covers.
inline constexpr Colour unlabelled_colour{Colour::Kind::Palette, 249};

// Appends `piece` to `out`; when `on`, wrapped as ESC[<code>m piece ESC[0m.
void paint(std::string& out, Colour colour, std::string_view piece, bool on);

}  // namespace tolva::report
