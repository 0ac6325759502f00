#pragma once

#include <atomic>
#include <cstdint>
#include <string_view>

namespace tolva::log {

// Ordered from the most verbose to the most important.
enum class Level : std::uint8_t { trace, debug, info, warn, error };

// The most verbose level let through; `off` lets nothing through. Shares the
// numbering of Level, so a level passes a filter when it is not below it.
enum class LevelFilter : std::uint8_t { trace, debug, info, warn, error, off };

constexpr bool passes(Level level, LevelFilter filter) noexcept {
  return static_cast<std::uint8_t>(level) >= static_cast<std::uint8_t>(filter);
}

// The level word, always five characters wide (" INFO", " WARN").
[[nodiscard]] std::string_view level_word(Level level) noexcept;

namespace detail {
// The most verbose level any live subscriber may let through; off until one
// registers. Read by every callsite before it evaluates anything.
inline std::atomic<std::uint8_t> max_level{static_cast<std::uint8_t>(LevelFilter::off)};
}  // namespace detail

// The callsite check: one relaxed load.
inline bool enabled(Level level) noexcept {
  return static_cast<std::uint8_t>(level) >=
         detail::max_level.load(std::memory_order_relaxed);
}

inline LevelFilter max_level() noexcept {
  return static_cast<LevelFilter>(detail::max_level.load(std::memory_order_relaxed));
}

}  // namespace tolva::log
