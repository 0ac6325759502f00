#include "usage.hpp"

#include <algorithm>
#include <vector>

#include "definitions.hpp"

namespace tolva::cli {
namespace {

constexpr std::size_t width = 79;
constexpr std::size_t help_column = 26;  // where option help starts

// Appends the words with a space between, breaking lines before `width`; a
// line break starts at `indent`. `column` is where the first word starts.
template <class Words>
void append_words(std::string& out, const Words& words, std::size_t column, std::size_t indent) {
  bool first = true;
  for (std::string_view word : words) {
    if (!first && column + 1 + word.size() > width) {
      out.append("\n").append(indent, ' ');
      column = indent;
    } else if (!first) {
      out.push_back(' ');
      ++column;
    }
    out.append(word);
    column += word.size();
    first = false;
  }
}

void append_wrapped(std::string& out, std::string_view text, std::size_t column,
                    std::size_t indent) {
  std::vector<std::string_view> words;
  for (std::size_t end; !text.empty(); text.remove_prefix(std::min(end + 1, text.size()))) {
    end = std::min(text.find(' '), text.size());
    words.push_back(text.substr(0, end));
  }
  append_words(out, words, column, indent);
}

// Paragraphs, separated by blank lines in the text, each wrapped.
void append_paragraphs(std::string& out, std::string_view text) {
  while (!text.empty()) {
    std::size_t end = text.find("\n\n");
    append_wrapped(out, text.substr(0, end), 0, 0);
    out.append("\n");
    if (end == std::string_view::npos) break;
    out.append("\n");
    text.remove_prefix(end + 2);
  }
}

std::string synopsis_item(const OptionDefinition& option) {
  std::string item = "[";
  if (option.short_name != '\0') {
    item.append("-").push_back(option.short_name);
    if (option.takes != Takes::nothing) item.append(" ").append(option.value_name);
  } else {
    item.append("--").append(option.long_name);
    if (option.takes == Takes::value) item.append(" ").append(option.value_name);
    if (option.takes == Takes::optional_value) item.append("=").append(option.value_name);
  }
  return item + "]";
}

std::string command_usage(const CommandDefinition& command) {
  // Options break onto new lines between their brackets, never inside.
  std::vector<std::string> items;
  for (const OptionDefinition& option : option_definitions()) {
    if (option.set != nullptr && takes_option(command.command, option)) {
      items.push_back(synopsis_item(option));
    }
  }
  items.emplace_back(command.operands);
  std::string out = "usage: tolva ";
  out.append(command.name).push_back(' ');
  append_words(out, items, out.size(), out.size());
  return out + "\n";
}

void append_option_line(std::string& out, std::string_view names, std::string_view help) {
  out.append("  ").append(names);
  std::size_t column = 2 + names.size();
  if (column + 2 > help_column) {
    out.append("\n");
    column = 0;
  }
  out.append(help_column - column, ' ');
  append_wrapped(out, help, help_column, help_column);
  out.append("\n");
}

std::string option_names(const OptionDefinition& option) {
  std::string names;
  if (option.short_name != '\0') names.append("-").append(1, option.short_name).append(", ");
  names.append("--").append(option.long_name);
  if (option.takes == Takes::value) names.append(" ").append(option.value_name);
  if (option.takes == Takes::optional_value) names.append("[=").append(option.value_name) += "]";
  return names;
}

std::string tool_usage() {
  std::string out;
  std::string_view lead = "usage: ";
  for (const CommandDefinition& command : command_definitions()) {
    out.append(lead).append("tolva ").append(command.name).append(" [OPTION...] ");
    out.append(command.operands).append("\n");
    lead = "       ";
  }
  return out + "       tolva --help | --version | COMMAND --help\n";
}

std::string tool_help() {
  std::string out;
  append_paragraphs(out, tool_description);
  out.append("\nCommands:\n");
  std::size_t width = 0;
  for (const CommandDefinition& command : command_definitions()) {
    width = std::max(width, command.name.size() + 2);
  }
  for (const CommandDefinition& command : command_definitions()) {
    out.append("  ").append(command.name);
    out.append(width - command.name.size(), ' ').append(command.summary).append("\n");
  }
  out.append("\n");
  append_paragraphs(out, tool_inputs);
  out.append("\nOptions of every command that reads versions:\n");
  for (const OptionDefinition& option : option_definitions()) {
    if (option.commands == every_command && option.set != nullptr) {
      append_option_line(out, option_names(option), option.help);
    }
  }
  out.append("\nOptions of the tool:\n");
  for (const ToolOption& option : tool_options()) {
    std::string names =
        option.short_name != '\0' ? std::string("-") + option.short_name + ", " : std::string();
    append_option_line(out, names.append("--").append(option.long_name), option.help);
  }
  out.append("\nEach command's options: tolva COMMAND --help.\n\nExit status: ");
  append_wrapped(out, tool_exit_status, 13, 0);
  return out + "\n";
}

std::string command_help(const CommandDefinition& command) {
  std::string out;
  append_paragraphs(out, command.description);
  out.append("\nOptions:\n");
  for (const OptionDefinition& option : option_definitions()) {
    if (takes_option(command.command, option)) {
      append_option_line(out, option_names(option), option.help);
    }
  }
  out.append("\nExit status: ");
  append_wrapped(out, command.exit_status, 13, 0);
  return out + "\n";
}

}  // namespace

std::string usage_line(std::optional<Command> command) {
  return command ? command_usage(definition_of(*command)) : tool_usage();
}

std::string help_text(std::optional<Command> command) {
  return command ? command_help(definition_of(*command)) : tool_help();
}

}  // namespace tolva::cli
