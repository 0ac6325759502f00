#include "cli/definitions.hpp"
#include "documents.hpp"
#include "generating.hpp"

namespace tolva::cli::docs {
namespace {

// Every word the definitions hold is a plain word: no quoting is needed
// inside the single quotes the script puts around lists of them.
std::string words(std::span<const std::string_view> list) {
  std::string out;
  for (std::string_view word : list) {
    if (!out.empty()) out += ' ';
    out += word;
  }
  return out;
}

// "-k|--key", as a case pattern.
std::string option_pattern(const OptionDefinition& option) {
  if (option.short_name == '\0') return concat("--", option.long_name);
  return concat('-', option.short_name, "|--", option.long_name);
}

void append_command(std::string& out, const CommandDefinition& command) {
  std::string names;
  std::string next_word_values;  // the options whose value may be the next word
  std::string value_names;       // the same, as words
  for (const OptionDefinition& option : option_definitions()) {
    if (!takes_option(command.command, option)) continue;
    if (option.short_name != '\0') names += concat(" -", option.short_name);
    names += concat(" --", option.long_name);
    if (option.takes != Takes::value) continue;
    next_word_values += concat("|", option_pattern(option));
    if (option.short_name != '\0') value_names += concat(" -", option.short_name);
    value_names += concat(" --", option.long_name);
  }
  out += concat("    ", command.name, ")\n");
  if (!next_word_values.empty()) {
    out += "      [[ -n $option || -n $operands_only ]] || case $prev in\n";
    out += concat("        ", next_word_values.substr(1), ") option=$prev ;;\n");
    out += "      esac\n";
  }
  out += "      case $option in\n";
  for (const OptionDefinition& option : option_definitions()) {
    if (!takes_option(command.command, option) || option.takes == Takes::nothing) continue;
    out += concat("        ", option_pattern(option), ") ");
    switch (value_completion(option)) {
      case ValueCompletion::choices:
        out += concat("_tolva_words '", words(option.choices), "'");
        break;
      case ValueCompletion::file: out += "_tolva_files -f"; break;
      case ValueCompletion::directory: out += "_tolva_files -d"; break;
      case ValueCompletion::none: out += ":"; break;
    }
    out += " ;;\n";
  }
  out += "        '')\n";
  out += "          if [[ -z $operands_only && $cur == -* ]]; then\n";
  out += concat("            _tolva_words '", names.substr(1), "'\n");
  if (command.word_operand != 0) {
    out += concat("          elif _tolva_operands '", value_names,
                  " ' && ((operands == ", std::to_string(command.word_operand - 1), ")); then\n");
    out += concat("            _tolva_words '", words(command.operand_words), "'\n");
  }
  if (command.operand_kind == "file") {
    out += "          else\n";
    out += "            _tolva_files -f\n";
  }
  out += "          fi ;;\n";
  out += "      esac ;;\n";
}

}  // namespace

std::string bash_completion() {
  std::string commands;
  for (const CommandDefinition& command : command_definitions()) {
    commands += concat(command.name, " ");
  }
  for (const ToolOption& option : tool_options()) {
    if (option.short_name != '\0') commands += concat('-', option.short_name, " ");
    commands += concat("--", option.long_name, " ");
  }
  commands.pop_back();

  std::string out =
      concat(R"(# bash completion for tolva, made at build time from the definitions of its
# commands and options by make_docs: change those, not this file.

# Offers the words of $1 that start with the value being typed.
_tolva_words() {
  mapfile -t COMPREPLY < <(compgen -P "$lead" -W "$1" -- "$value")
}

# Offers files (-f) or directories (-d).
_tolva_files() {
  compopt -o filenames 2>/dev/null
  mapfile -t COMPREPLY < <(compgen "$1" -P "$lead" -- "$value")
}

# Sets $operands to the number of operands between the command and the word
# being completed; $1 holds the options whose value may be the next word,
# each between blanks.
_tolva_operands() {
  local j w only=
  operands=0
  for ((j = first; j < COMP_CWORD; j++)); do
    w=${COMP_WORDS[j]}
    if [[ -z $only && $w == = ]]; then
      ((j++))
    elif [[ -n $only || $w == - || $w != -* ]]; then
      ((operands++))
    elif [[ $w == -- ]]; then
      only=1
    elif [[ $1 == *" $w "* && ${COMP_WORDS[j + 1]} != = ]]; then
      ((j++))
    fi
  done
  return 0
}

_tolva() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
  local value=$cur lead= option= command= operands_only= operands= first= i
  COMPREPLY=()
  # Before the command stand only the tool's own options, which take no value.
  for ((i = 1; i < COMP_CWORD; i++)); do
    if [[ ${COMP_WORDS[i]} != -* ]]; then
      command=${COMP_WORDS[i]}
      break
    fi
  done
  first=$((i + 1))
  for ((i = i + 1; i < COMP_CWORD; i++)); do
    [[ ${COMP_WORDS[i]} == -- ]] && operands_only=1
  done
  # A value after "=": bash splits --name=VALUE into three words when "=" is
  # in COMP_WORDBREAKS, as it is by default.
  if [[ -z $operands_only ]]; then
    if [[ $cur == = ]]; then
      option=$prev value=
    elif [[ $prev == = ]]; then
      option=${COMP_WORDS[COMP_CWORD - 2]}
    elif [[ $cur == --*=* ]]; then
      option=${cur%%=*} value=${cur#*=} lead=${cur%%=*}=
    fi
  fi
  case $command in
    '')
      lead= value=$cur
      _tolva_words ')",
             commands, R"(' ;;
)");
  for (const CommandDefinition& command : command_definitions()) append_command(out, command);
  out += R"(  esac
}

complete -F _tolva tolva
)";
  return out;
}

}  // namespace tolva::cli::docs
