#include "command_line.hpp"

#include <algorithm>
#include <array>
#include <utility>

#include "definitions.hpp"
#include "shown_name.hpp"
#include "text/utf8.hpp"

namespace tolva::cli {
namespace {

// The edits between two short words; anything far apart counts as far.
std::size_t edit_distance(std::string_view a, std::string_view b) {
  constexpr std::size_t far = 99;
  if (a.size() > 40 || b.size() > 40) return far;
  std::array<std::size_t, 41> row;
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      std::size_t above = row[j];
      row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1] ? 1 : 0)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// A known long option a typed one is probably meant to be.
std::optional<std::string_view> near_long_option(std::string_view typed) {
  if (typed.size() < 3) return std::nullopt;
  for (const OptionDefinition& option : option_definitions()) {
    if (edit_distance(typed, option.long_name) <= 2) return option.long_name;
  }
  for (const ToolOption& option : tool_options()) {
    if (edit_distance(typed, option.long_name) <= 2) return option.long_name;
  }
  return std::nullopt;
}

// Reads the options and operands that follow the command name.
class Reader {
 public:
  Reader(Command command, std::span<const std::string_view> args) : args_(args) {
    invocation_.command = command;
    invocation_.scheme = default_scheme(command);
  }

  Request read() {
    bool options_done = false;
    while (next_ < args_.size()) {
      std::string_view arg = args_[next_++];
      if (options_done || arg == "-" || !arg.starts_with('-')) {
        invocation_.operands.push_back(arg);
      } else if (arg == "--") {
        options_done = true;
      } else if (arg.starts_with("--")) {
        if (auto stop = long_option(arg.substr(2))) return std::move(*stop);
      } else if (auto stop = short_options(arg.substr(1))) {
        return std::move(*stop);
      }
    }
    const CommandDefinition& command = definition_of(invocation_.command);
    std::size_t count = invocation_.operands.size();
    if (count < command.min_operands || count > command.max_operands) {
      return error(std::string(command.operand_error));
    }
    if (invocation_.command == Command::filter) {
      invocation_.range = invocation_.operands.front();
      invocation_.operands.erase(invocation_.operands.begin());
    }
    return std::move(invocation_);
  }

 private:
  UsageError error(std::string message) const {
    return UsageError{std::move(message), invocation_.command};
  }

  // Why an option that is not this command's cannot be used: it belongs to
  // other commands, to the tool itself, or to nothing.
  UsageError misplaced(std::string_view typed, CommandSet elsewhere, bool of_tool) const {
    std::string_view here = definition_of(invocation_.command).name;
    if (elsewhere != 0) {
      return error("option " + quoted_name(typed) + " is for " + command_list(elsewhere) +
                   ", not " + std::string(here));
    }
    if (of_tool) return error("option " + quoted_name(typed) + " goes before the command");
    std::string message = "unknown option " + quoted_name(typed);
    if (typed.starts_with("--")) {
      if (auto near = near_long_option(typed.substr(2))) {
        message += " (did you mean '--" + std::string(*near) + "'?)";
      }
    }
    return error(std::move(message));
  }

  // Applies one option as typed, with its value if it came attached.
  std::optional<Request> apply(const OptionDefinition& option, std::string_view typed,
                               std::optional<std::string_view> value) {
    if (value && option.takes == Takes::nothing) {
      return error("option " + quoted_name(typed) + " takes no value");
    }
    if (option.set == nullptr) return HelpRequest{invocation_.command};
    if (!value && option.takes == Takes::optional_value) value = option.bare_value;
    if (!value && option.takes == Takes::value) {
      if (next_ == args_.size()) return error("option " + quoted_name(typed) + " needs a value");
      value = args_[next_++];
    }
    if (auto wrong = option.set(invocation_, value.value_or(""))) {
      return error("option " + quoted_name(typed) + ": " + *wrong);
    }
    return std::nullopt;
  }

  // Returns the request that ends reading (help or an error), if any.
  std::optional<Request> long_option(std::string_view option) {
    std::string_view name = option.substr(0, option.find('='));
    std::optional<std::string_view> value;
    if (name.size() < option.size()) value = option.substr(name.size() + 1);
    std::string typed = "--";
    typed.append(name);
    CommandSet elsewhere = 0;
    for (const OptionDefinition& definition : option_definitions()) {
      if (definition.long_name != name) continue;
      if (takes_option(invocation_.command, definition)) return apply(definition, typed, value);
      elsewhere |= definition.commands;
    }
    bool of_tool = std::ranges::any_of(
        tool_options(), [&](const ToolOption& tool) { return tool.long_name == name; });
    return misplaced(typed, elsewhere, of_tool);
  }

  // A cluster of short options, one character each; one that takes a value
  // takes the rest of the cluster, or else the next argument. A character of
  // several bytes is one (unknown) option, not several.
  std::optional<Request> short_options(std::string_view flags) {
    while (!flags.empty()) {
      std::string_view flag = flags.substr(0, text::decode_utf8(flags, 0).length);
      flags.remove_prefix(flag.size());
      std::string typed = "-";
      typed.append(flag);
      const OptionDefinition* found = nullptr;
      CommandSet elsewhere = 0;
      for (const OptionDefinition& definition : option_definitions()) {
        if (flag.size() != 1 || definition.short_name != flag.front()) continue;
        if (takes_option(invocation_.command, definition)) {
          found = &definition;
          break;
        }
        elsewhere |= definition.commands;
      }
      if (found == nullptr) return misplaced(typed, elsewhere, false);
      std::optional<std::string_view> value;
      if (found->takes == Takes::value && !flags.empty()) {
        value = flags;
        flags = {};
      }
      if (auto stop = apply(*found, typed, value)) return stop;
    }
    return std::nullopt;
  }

  std::span<const std::string_view> args_;
  std::size_t next_ = 0;
  Invocation invocation_;
};

}  // namespace

Request read_command_line(std::span<const std::string_view> args) {
  if (args.empty()) return UsageError{"no command given", std::nullopt};
  std::string_view first = args.front();
  if (first == "--help" || first == "-h") return HelpRequest{};
  if (first == "--version") return VersionRequest{};
  for (const CommandDefinition& command : command_definitions()) {
    if (command.name == first) return Reader(command.command, args.subspan(1)).read();
  }
  if (first.starts_with('-'))
    return UsageError{"unknown option " + quoted_name(first), std::nullopt};
  return UsageError{"unknown command " + quoted_name(first), std::nullopt};
}

}  // namespace tolva::cli
