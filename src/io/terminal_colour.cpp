#include "tolva/io/terminal_colour.hpp"

#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>

namespace tolva::io {

namespace {

std::optional<std::string_view> variable(const char* name) noexcept {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string_view(value);
}

enum Decision : std::uint8_t { unset, off, on };

std::atomic<std::uint8_t> decision{unset};

}  // namespace

bool colour_allowed(const ColourEnvironment& env) noexcept {
  bool forced = env.clicolor_force && *env.clicolor_force != "0";
  if (forced) return true;
  bool allowed = !env.clicolor || *env.clicolor != "0";
  bool forbidden = env.no_color && !env.no_color->empty();
  bool capable_term = env.term && *env.term != "dumb";
  return allowed && !forbidden && capable_term && env.stderr_is_terminal;
}

ColourEnvironment read_colour_environment() noexcept {
  return ColourEnvironment{
      .clicolor = variable("CLICOLOR"),
      .clicolor_force = variable("CLICOLOR_FORCE"),
      .no_color = variable("NO_COLOR"),
      .term = variable("TERM"),
      .stderr_is_terminal = ::isatty(STDERR_FILENO) == 1,
  };
}

bool stderr_colour_in_force() noexcept {
  std::uint8_t known = decision.load(std::memory_order_acquire);
  if (known == unset) {
    std::uint8_t decided = colour_allowed(read_colour_environment()) ? on : off;
    // Two threads may decide at once; the first to publish wins for both.
    if (decision.compare_exchange_strong(known, decided, std::memory_order_acq_rel)) {
      known = decided;
    }
  }
  return known == on;
}

}  // namespace tolva::io
