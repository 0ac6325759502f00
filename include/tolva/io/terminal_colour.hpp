#pragma once

#include <optional>
#include <string_view>

// Whether a tool that writes reports to standard error colours them, decided
// as terminals expect. Callers ask; nothing on the parsing and report path does.
namespace tolva::io {

// What the colour decision looks at; absent means the variable is unset.
struct ColourEnvironment {
  std::optional<std::string_view> clicolor;
  std::optional<std::string_view> clicolor_force;
  std::optional<std::string_view> no_color;
  std::optional<std::string_view> term;
  bool stderr_is_terminal = false;
};

// Whether reports for standard error carry colour in this environment.
[[nodiscard]] bool colour_allowed(const ColourEnvironment& env) noexcept;

// The process environment and whether descriptor 2 is a terminal, read now.
[[nodiscard]] ColourEnvironment read_colour_environment() noexcept;

// colour_allowed for the process, decided at the first call and kept for the
// life of the process; safe to call from any thread.
[[nodiscard]] bool stderr_colour_in_force() noexcept;

}  // namespace tolva::io
