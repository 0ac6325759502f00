#pragma once

#include <cstdint>
#include <string_view>

#include "tolva/log/level.hpp"

namespace tolva::log {

// What a callsite knows about itself. Views only; the recording call copies
// what it must keep.
struct Metadata {
  Level level;
  std::string_view target;
  std::string_view name;
  std::string_view file;   // empty when unknown
  std::uint32_t line = 0;  // 0 when unknown
};

}  // namespace tolva::log
