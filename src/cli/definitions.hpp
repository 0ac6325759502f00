#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "command_line.hpp"

namespace tolva::cli {

// The commands and options, each defined once. The argument reader, `--help`,
// the manual page and the shell completions are all made from these tables.

// A set of commands, one bit each.
using CommandSet = unsigned;

constexpr CommandSet set_of(Command command) noexcept {
  return 1u << static_cast<unsigned>(command);
}

template <class... Commands>
constexpr CommandSet set_of(Command first, Commands... rest) noexcept {
  return (set_of(first) | ... | set_of(rest));
}

// Every command that reads versions or ranges; `completion` reads none.
constexpr CommandSet every_command = (1u << (static_cast<unsigned>(Command::range) + 1)) - 1;
constexpr CommandSet all_commands = every_command | set_of(Command::completion);

enum class Takes {
  nothing,
  value,           // --name=VALUE, --name VALUE, -xVALUE or -x VALUE
  optional_value,  // --name or --name=VALUE only
};

// Sets what the option stands for; returns why the value will not do.
using Setter = std::optional<std::string> (*)(Invocation&, std::string_view value);

struct OptionDefinition {
  char short_name;  // '\0' when there is none
  std::string_view long_name;
  Takes takes;
  std::string_view value_name;                // as help shows it: "N", "WHEN"
  std::span<const std::string_view> choices;  // of the value, when it is one of a few words
  CommandSet commands;
  std::string_view help;
  Setter set;                        // null for --help, which the reader answers itself
  std::string_view bare_value = {};  // what a bare optional-value option means
};

// Which command takes which option: the one test the reader, the help, the
// manual page and the completions ask.
constexpr bool takes_option(Command command, const OptionDefinition& option) noexcept {
  return (option.commands & set_of(command)) != 0;
}

struct CommandDefinition {
  Command command;
  std::string_view name;
  std::string_view operands;      // as the synopsis shows them
  std::string_view operand_kind;  // what completion offers for them: "file" or "text"
  std::size_t min_operands;
  std::size_t max_operands;
  std::string_view operand_error;  // when the count is outside those bounds
  std::string_view summary;        // one line in the tool's help
  std::string_view description;    // paragraphs of the command's help
  std::string_view exit_status;
  // Operand `word_operand` (from 1; 0 for none) is most often one of
  // `operand_words`, which completion offers there.
  std::size_t word_operand = 0;
  std::span<const std::string_view> operand_words = {};
};

// Options of the tool itself, before any command.
struct ToolOption {
  char short_name;
  std::string_view long_name;
  std::string_view help;
};

std::span<const CommandDefinition> command_definitions() noexcept;
std::span<const OptionDefinition> option_definitions() noexcept;
std::span<const ToolOption> tool_options() noexcept;

const CommandDefinition& definition_of(Command command) noexcept;

// The tool's description, and what its help says of inputs and exit status.
extern const std::string_view tool_description;
extern const std::string_view tool_inputs;
extern const std::string_view tool_exit_status;

// The scheme a command reads and orders under when no option names one.
Scheme default_scheme(Command command) noexcept;

// "sort", "check and parse", "sort, compare and filter": for messages.
std::string command_list(CommandSet commands);

}  // namespace tolva::cli
