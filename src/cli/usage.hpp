#pragma once

#include <optional>
#include <string_view>

#include "command_line.hpp"

namespace tolva::cli {

// The synopsis of the tool or of one command.
std::string_view usage_line(std::optional<Command> command) noexcept;

// The whole `--help` text of the tool or of one command.
std::string_view help_text(std::optional<Command> command) noexcept;

}  // namespace tolva::cli
