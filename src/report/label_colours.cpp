#include "label_colours.hpp"

#include <cstddef>

namespace tolva::report {

namespace {

constexpr float min_brightness = 0.5f;

// One state word as a brightness between min_brightness and 1.
float brightness(std::uint16_t word) noexcept {
  return static_cast<float>(word) / 65535.0f * (1.0f - min_brightness) + min_brightness;
}

}  // namespace

Colour LabelColours::next() noexcept {
  for (std::size_t i = 0; i < state_.size(); ++i) {
    // 40503 steps the words through all 2^16 values before repeating.
    state_[i] = static_cast<std::uint16_t>(state_[i] + 40503u * (i * 4 + 1130));
  }
  // A point of the 6x6x6 colour cube, which starts at palette entry 16.
  float cube = brightness(state_[2]) * 5.0f + brightness(state_[1]) * 30.0f +
               brightness(state_[0]) * 180.0f;
  return Colour{Colour::Kind::Palette, static_cast<std::uint8_t>(16 + static_cast<int>(cube))};
}

}  // namespace tolva::report
