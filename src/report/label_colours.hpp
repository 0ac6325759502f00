#pragma once

#include <array>
#include <cstdint>

#include "tolva/report/colour.hpp"

namespace tolva::report {

// The colours labels take in turn, starting afresh for every report:
// palette 201, 155, 187, 218, ... Pseudo-random but fixed, so that neighbouring
// labels differ and the same report always looks the same.
class LabelColours {
 public:
  Colour next() noexcept;

 private:
  std::array<std::uint16_t, 3> state_{30000, 15000, 35000};
};

}  // namespace tolva::report
