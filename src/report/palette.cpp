#include "palette.hpp"

#include "text/decimal.hpp"

namespace tolva::report {

void paint(std::string& out, Colour colour, std::string_view piece, bool on) {
  if (!on) {
    out += piece;
    return;
  }
  out += colour.kind == Colour::Kind::Basic ? "\x1b[" : "\x1b[38;5;";
  append_decimal(out, colour.code);
  out += 'm';
  out += piece;
  out += "\x1b[0m";
}

}  // namespace tolva::report
