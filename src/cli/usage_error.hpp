#pragma once

#include <optional>
#include <string_view>

#include "command_line.hpp"
#include "exit_status.hpp"
#include "output.hpp"

namespace tolva::cli {

// Tells of a usage error on standard error: the message, the usage line of
// the command (none: the tool's) and where to read more. Returns `trouble`.
ExitStatus usage_error(Streams& io, std::string_view message, std::optional<Command> command);

}  // namespace tolva::cli
