#include "tolva/report/colour.hpp"

#include <charconv>

namespace tolva::report {

void paint(std::string& out, Colour colour, std::string_view piece, bool on) {
  if (!on) {
    out += piece;
    return;
  }
  out += colour.kind == Colour::Kind::Basic ? "\x1b[" : "\x1b[38;5;";
  char digits[3];
  auto [end, ec] = std::to_chars(digits, digits + sizeof digits, colour.code);
  out.append(digits, end);
  out += 'm';
  out += piece;
  out += "\x1b[0m";
}

}  // namespace tolva::report
