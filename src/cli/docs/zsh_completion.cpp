#include "cli/definitions.hpp"
#include "documents.hpp"
#include "generating.hpp"

namespace tolva::cli::docs {
namespace {

// A description inside an _arguments spec, itself inside single quotes:
// brackets and backslashes are escaped for _arguments, quotes for the shell.
std::string described(std::string_view text) {
  std::string out = "[";
  for (char c : text) {
    if (c == '[' || c == ']' || c == '\\') {
      out.push_back('\\');
      out.push_back(c);
    } else if (c == '\'') {
      out += "'\\''";
    } else {
      out.push_back(c);
    }
  }
  return out + "]";
}

// A word in single quotes.
std::string quoted(std::string_view text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out.push_back(c);
    }
  }
  return out + "'";
}

// ":N:action" for an option's value; "::" where the value may be left out.
std::string value_spec(const OptionDefinition& option) {
  std::string out = option.takes == Takes::optional_value ? "::" : ":";
  out += concat(option.value_name, ":");
  switch (value_completion(option)) {
    case ValueCompletion::choices:
      out += "(";
      for (std::string_view choice : option.choices) out += concat(choice, " ");
      out.back() = ')';
      break;
    case ValueCompletion::file: out += "_files"; break;
    case ValueCompletion::directory: out += "_files -/"; break;
    case ValueCompletion::none: out += " "; break;
  }
  return out;
}

// One spec for each name of the option; the names exclude each other.
void append_option(std::string& out, const OptionDefinition& option) {
  std::string exclusions = concat("--", option.long_name);
  if (option.short_name != '\0') exclusions = concat('-', option.short_name, ' ', exclusions);
  std::string tail = described(option.help);
  if (option.takes != Takes::nothing) tail += value_spec(option);
  if (option.short_name != '\0') {
    std::string name = concat('-', option.short_name);
    if (option.takes != Takes::nothing) name += "+";
    out += concat("            '(", exclusions, ")", name, tail, "' \\\n");
  }
  std::string name = concat("--", option.long_name);
  if (option.takes == Takes::value) name += "=";
  if (option.takes == Takes::optional_value) name += "=-";
  out += concat("            '(", exclusions, ")", name, tail, "' \\\n");
}

// The operands: a placeholder before FILE... is one word of its own (filter's
// RANGE); FILE... and other texts take the rest.
void append_operands(std::string& out, const CommandDefinition& command) {
  if (command.word_operand != 0) {
    for (std::size_t i = 1; i < command.word_operand; ++i) {
      out += concat("            '", std::to_string(i), ":", command.operands, ": ' \\\n");
    }
    std::string words;
    for (std::string_view word : command.operand_words) words += concat(word, " ");
    words.pop_back();
    out += concat("            '", std::to_string(command.word_operand), ":", command.operands,
                  ":(", words, ")'");
    if (command.max_operands > command.word_operand) {
      out += concat(" \\\n            '*:", command.operands, ": '");
    }
    return;
  }
  if (command.operand_kind != "file") {
    out += concat("            '*:", command.operands, ": '");
    return;
  }
  std::string_view operands = command.operands;
  std::size_t position = 1;
  while (!operands.empty() && !operands.starts_with("[FILE")) {
    std::size_t end = std::min(operands.find(' '), operands.size());
    out += concat("            '", std::to_string(position++), ":", operands.substr(0, end),
                  ": ' \\\n");
    operands.remove_prefix(std::min(end + 1, operands.size()));
  }
  out += "            '*:FILE:_files'";
}

}  // namespace

std::string zsh_completion() {
  std::string out = R"(#compdef tolva
# zsh completion for tolva, made at build time from the definitions of its
# commands and options by make_docs: change those, not this file.

_tolva() {
  local curcontext=$curcontext state state_descr line ret=1
  typeset -A opt_args
  _arguments -C \
)";
  for (const ToolOption& option : tool_options()) {
    std::string tail = described(option.help);
    if (option.short_name != '\0') {
      out += concat("    '(- *)-", option.short_name, tail, "' \\\n");
    }
    out += concat("    '(- *)--", option.long_name, tail, "' \\\n");
  }
  out += R"(    '1:command:->command' \
    '*::argument:->argument' && ret=0
  case $state in
    command)
      local -a commands
      commands=(
)";
  for (const CommandDefinition& command : command_definitions()) {
    out += concat("        ", quoted(concat(command.name, ":", command.summary)), "\n");
  }
  out += R"(      )
      _describe -t commands 'tolva command' commands && ret=0 ;;
    argument)
      curcontext=${curcontext%:*:*}:tolva-$words[1]:
      case $words[1] in
)";
  for (const CommandDefinition& command : command_definitions()) {
    out += concat("        ", command.name, ")\n          _arguments -s -S \\\n");
    for (const OptionDefinition& option : option_definitions()) {
      if (takes_option(command.command, option)) append_option(out, option);
    }
    append_operands(out, command);
    out += " && ret=0 ;;\n";
  }
  out += R"(      esac ;;
  esac
  return ret
}

_tolva "$@"
)";
  return out;
}

}  // namespace tolva::cli::docs
