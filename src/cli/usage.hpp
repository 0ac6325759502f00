#pragma once

#include <optional>
#include <string>

#include "command_line.hpp"

namespace tolva::cli {

// The synopsis of the tool or of one command.
std::string usage_line(std::optional<Command> command);

// The whole `--help` text of the tool or of one command.
std::string help_text(std::optional<Command> command);

}  // namespace tolva::cli
