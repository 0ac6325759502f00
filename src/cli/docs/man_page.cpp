#include <array>
#include <utility>
#include <variant>
#include <vector>

#include "cli/command_line.hpp"
#include "cli/definitions.hpp"
#include "documents.hpp"
#include "generating.hpp"
#include "roff.hpp"

namespace tolva::cli::docs {
namespace {

// Paragraphs separated by blank lines, as the definitions write them.
void append_paragraphs(std::string& out, std::string_view text) {
  while (!text.empty()) {
    std::size_t end = text.find("\n\n");
    out += ".PP\n";
    append_roff_text(out, text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 2);
  }
}

std::string bold(std::string_view text) { return concat("\\fB", roff_escaped(text), "\\fR"); }
std::string italic(std::string_view text) { return concat("\\fI", roff_escaped(text), "\\fR"); }

// An operand synopsis: its upper-case words are placeholders.
std::string operand_synopsis(std::string_view operands) {
  std::string out;
  while (!operands.empty()) {
    auto upper = [](char c) { return c >= 'A' && c <= 'Z'; };
    std::size_t n = 0;
    bool placeholder = upper(operands[0]);
    while (n < operands.size() && upper(operands[n]) == placeholder) ++n;
    out += placeholder ? italic(operands.substr(0, n)) : roff_escaped(operands.substr(0, n));
    operands.remove_prefix(n);
  }
  return out;
}

// "[-k N]" in a synopsis, kept on one line by unbreakable spaces.
std::string synopsis_item(const OptionDefinition& option) {
  std::string item = "[";
  if (option.short_name != '\0') {
    item += bold(concat('-', option.short_name));
    if (option.takes != Takes::nothing) item += concat("\\ ", italic(option.value_name));
  } else {
    item += bold(concat("--", option.long_name));
    if (option.takes == Takes::value) item += concat("\\ ", italic(option.value_name));
    if (option.takes == Takes::optional_value) item += concat("=", italic(option.value_name));
  }
  return item + "]";
}

// The tag of an option's entry: "-k, --key N".
std::string option_tag(char short_name, std::string_view long_name, Takes takes,
                       std::string_view value_name) {
  std::string tag;
  if (short_name != '\0') tag += concat(bold(concat('-', short_name)), ", ");
  tag += bold(concat("--", long_name));
  if (takes == Takes::value) tag += concat(" ", italic(value_name));
  if (takes == Takes::optional_value) tag += concat("[=", italic(value_name), "]");
  return tag;
}

void append_entry(std::string& out, const std::string& tag, std::string_view help) {
  out += concat(".TP\n", tag, "\n");
  append_roff_text(out, help);
}

void append_option(std::string& out, const OptionDefinition& option) {
  append_entry(out,
               option_tag(option.short_name, option.long_name, option.takes, option.value_name),
               option.help);
}

void append_command(std::string& out, const CommandDefinition& command) {
  out +=
      concat(".SS ", roff_escaped(command.name), "\n.PP\n", bold(concat("tolva ", command.name)));
  for (const OptionDefinition& option : option_definitions()) {
    if (option.set != nullptr && takes_option(command.command, option)) {
      out += concat("\n", synopsis_item(option));
    }
  }
  out += concat("\n", operand_synopsis(command.operands), "\n");
  append_paragraphs(out, command.description);
  std::string_view lead = ".PP\nOptions, besides those of every command:\n";
  for (const OptionDefinition& option : option_definitions()) {
    if (option.commands != every_command && takes_option(command.command, option)) {
      out += std::exchange(lead, "");
      append_option(out, option);
    }
  }
  out += ".PP\nExit status:\n";
  append_roff_text(out, command.exit_status);
}

// The first sentence of the tool's description as the NAME line's summary:
// "tolva \- reads, checks, ...".
std::string summary_line() {
  std::string_view text = tool_description.substr(0, tool_description.find('.'));
  std::string line = roff_escaped(text);
  if (!line.empty() && line[0] >= 'A' && line[0] <= 'Z') line[0] = static_cast<char>(line[0] + 32);
  return line;
}

struct Environment {
  std::string_view name;
  std::string_view effect;
};

// What the tool reads from its environment. The colour variables are read
// only with --color=auto, the default.
constexpr std::array<Environment, 5> environment{{
    {"CLICOLOR", "Set to 0: no colour in reports."},
    {"CLICOLOR_FORCE",
     "Set to anything but 0: colour in reports, whatever the other variables "
     "say and whether or not standard error is a terminal."},
    {"NO_COLOR", "Set and not empty: no colour in reports."},
    {"TERM", "Unset or dumb: no colour in reports."},
    {"TMPDIR", "Where sort's temporary files go when -T does not say; /tmp when unset."},
}};

struct Example {
  std::array<std::string_view, 5> args;  // after "tolva", ending at the first empty one
  std::string_view what;
};

constexpr std::array<Example, 6> examples{{
    {{"sort", "versions.txt"},
     "Writes the lines of versions.txt in order, oldest first, as release names read: 1.9 "
     "before 1.10, and 2.0 beta before 2.0."},
    {{"sort", "--scheme", "tolva", "versions.txt"},
     "Writes them in the order of the Python module's classes, and explains each line that is "
     "not a version in tolva's grammar on standard error."},
    {{"compare", "1.2.0-rc.1", "lt", "1.2.0"},
     "Exits 0: the release candidate orders before the release."},
    {{"filter", ">=1.2 <2", "versions.txt"},
     "Writes the lines of versions.txt whose version is at least 1.2 and below 2, in input "
     "order: 1.10 is above 1.9, and 2.0 beta below 2."},
    {{"newest", "-n", "3", "versions.txt"}, "Writes the three greatest versions, greatest first."},
    {{"check", "--format=short", "versions.txt"},
     "Names each rejected line on one line of its own: file, line, column, what was found and "
     "what was expected."},
}};

// An argument as a shell reads it back: quoted when it holds anything but
// letters, digits and -._=/
std::string shell_word(std::string_view arg) {
  bool plain = !arg.empty();
  for (char c : arg) {
    bool safe = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                c == '-' || c == '.' || c == '_' || c == '=' || c == '/';
    plain = plain && safe;
  }
  return plain ? std::string(arg) : concat("'", arg, "'");
}

// The examples, each checked against the argument reader so that a renamed
// option or command cannot leave a stale one behind.
std::expected<std::string, std::string> examples_section() {
  std::string out = ".SH EXAMPLES\n";
  for (const Example& example : examples) {
    std::vector<std::string_view> args;
    std::string line = "tolva";
    for (std::string_view arg : example.args) {
      if (arg.empty()) break;
      args.push_back(arg);
      line += concat(" ", shell_word(arg));
    }
    Request request = read_command_line(args);
    if (const auto* wrong = std::get_if<UsageError>(&request)) {
      return std::unexpected(concat("the example '", line, "' does not read: ", wrong->message));
    }
    out += ".PP\n.RS 4\n.nf\n";
    append_roff_text(out, line);
    out += ".fi\n.RE\n.PP\n";
    append_roff_text(out, example.what);
  }
  return out;
}

}  // namespace

std::expected<std::string, std::string> man_page(std::string_view version) {
  std::string out =
      ".\\\" The manual page of tolva, made at build time from the definitions of its commands\n"
      ".\\\" and options by make_docs: change those, not this file.\n";
  out += concat(".TH TOLVA 1 \"\" \"tolva ", roff_escaped(version), "\" \"User Commands\"\n");
  // Option names must not break at a hyphenation point, nor synopses spread
  // across a justified line.
  out += ".nh\n.ad l\n";
  out += concat(".SH NAME\ntolva \\- ", summary_line(), "\n");

  out += ".SH SYNOPSIS\n.nf\n";
  for (const CommandDefinition& command : command_definitions()) {
    out += concat(bold(concat("tolva ", command.name)), " [", italic("OPTION"), "...] ",
                  operand_synopsis(command.operands), "\n");
  }
  out += bold("tolva");
  for (const ToolOption& option : tool_options()) {
    out += concat(" ", bold(concat("--", option.long_name)), " |");
  }
  out += concat(" ", italic("COMMAND"), " ", bold("--help"), "\n.fi\n");

  out += ".SH DESCRIPTION\n";
  append_paragraphs(out, tool_description);
  append_paragraphs(out, tool_inputs);

  out += ".SH COMMANDS\n";
  for (const CommandDefinition& command : command_definitions()) append_command(out, command);

  out += ".SH OPTIONS\n.SS \"Options of every command that reads versions\"\n";
  for (const OptionDefinition& option : option_definitions()) {
    if (option.commands == every_command && option.set != nullptr) append_option(out, option);
  }
  out += ".SS \"Options of the tool\"\n";
  for (const ToolOption& option : tool_options()) {
    append_entry(out, option_tag(option.short_name, option.long_name, Takes::nothing, ""),
                 option.help);
  }

  out += ".SH \"EXIT STATUS\"\n";
  append_paragraphs(out, tool_exit_status);
  out += ".PP\nEach command's exit status is told under COMMANDS.\n";

  out += ".SH ENVIRONMENT\n";
  for (const Environment& variable : environment) {
    append_entry(out, bold(variable.name), variable.effect);
  }
  out +=
      ".PP\nThe colour variables count only with \\fB\\-\\-color=auto\\fR, the default;\n"
      "CLICOLOR_FORCE wins over the others, and otherwise colour also needs standard error\n"
      "to be a terminal.\n";

  auto section = examples_section();
  if (!section) return section;
  out += *section;

  out += ".SH \"SEE ALSO\"\n.BR sort (1),\n.BR dpkg (1)\n";
  return out;
}

}  // namespace tolva::cli::docs
