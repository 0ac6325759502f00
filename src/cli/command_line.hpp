#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "kind.hpp"

namespace tolva::cli {

enum class Command { check, sort, compare, parse };

enum class ColourChoice { automatic, always, never };

// A command to run, with its options and operands (files or texts).
struct Invocation {
  Command command = Command::check;
  Kind kind = Kind::version;
  ColourChoice colour = ColourChoice::automatic;
  bool reverse = false;
  bool unique = false;
  bool json = false;
  std::optional<std::size_t> key_field;
  std::optional<char> separator;
  bool zero_terminated = false;
  std::optional<std::string_view> output_file;
  bool check_order = false;
  bool keep_rejected = false;
  std::optional<std::size_t> buffer_size;  // bytes
  std::optional<std::string_view> temp_dir;
  std::optional<unsigned> parallel;
  std::vector<std::string_view> operands;
};

// `--help`, for the tool (no command) or for one command.
struct HelpRequest {
  std::optional<Command> command;
};

struct VersionRequest {};

// What was wrong, and the command whose usage to show (none: the tool's).
struct UsageError {
  std::string message;
  std::optional<Command> command;
};

using Request = std::variant<Invocation, HelpRequest, VersionRequest, UsageError>;

// Reads the arguments after the program name. Options may stand anywhere
// after the command; "--" ends them, and "-" is an operand.
Request read_command_line(std::span<const std::string_view> args);

std::string_view command_name(Command command) noexcept;

}  // namespace tolva::cli
