#include "tolva/log/level.hpp"

namespace tolva::log {

std::string_view level_word(Level level) noexcept {
  switch (level) {
    case Level::trace: return "TRACE";
    case Level::debug: return "DEBUG";
    case Level::info: return " INFO";
    case Level::warn: return " WARN";
    case Level::error: return "ERROR";
  }
  return "?????";
}

}  // namespace tolva::log
