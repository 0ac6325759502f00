#pragma once

#include <cstdint>

namespace tolva::report {

// A terminal foreground colour: one of the basic SGR codes (31 is red) or an
// entry of the 256-colour palette.
struct Colour {
  enum class Kind : std::uint8_t { Basic, Palette };
  Kind kind;
  std::uint8_t code;
  friend bool operator==(const Colour&, const Colour&) = default;
};

}  // namespace tolva::report
