#include "definitions.hpp"

#include <array>

#include "option_values.hpp"
#include "shown_name.hpp"

namespace tolva::cli {
namespace {

using enum Command;

template <bool Invocation::*field>
std::optional<std::string> set_flag(Invocation& invocation, std::string_view) {
  invocation.*field = true;
  return std::nullopt;
}

template <std::optional<std::string_view> Invocation::*field>
std::optional<std::string> set_text(Invocation& invocation, std::string_view value) {
  if (value.empty()) return "an empty value";
  invocation.*field = value;
  return std::nullopt;
}

// The schemes' names, as --help, the manual page and the completions list them.
constexpr auto scheme_choices = [] {
  std::array<std::string_view, std::size(scheme::named_schemes)> names{};
  for (std::size_t i = 0; i < names.size(); ++i) names[i] = scheme::named_schemes[i].name;
  return names;
}();
constexpr std::array<std::string_view, 3> colour_choices{"auto", "always", "never"};
constexpr std::array<std::string_view, 2> format_choices{"full", "short"};
constexpr std::array<std::string_view, 6> comparison_words{"lt", "le", "eq", "ne", "gt", "ge"};
constexpr std::array<std::string_view, 2> shell_words{"bash", "zsh"};

// "a, b or c", or with another last word
std::string choice_list(std::span<const std::string_view> choices, std::string_view last = " or ") {
  std::string out;
  for (std::size_t i = 0; i < choices.size(); ++i) {
    if (i > 0) out += i + 1 == choices.size() ? last : ", ";
    out += choices[i];
  }
  return out;
}

// The index of `value` among the choices, matched without regard to case.
std::optional<std::size_t> choice_index(std::span<const std::string_view> choices,
                                        std::string_view value) {
  for (std::size_t i = 0; i < choices.size(); ++i) {
    if (same_word(choices[i], value)) return i;
  }
  return std::nullopt;
}

std::string not_a_choice(std::span<const std::string_view> choices, std::string_view value) {
  return quoted_name(value) + " is not one of " + choice_list(choices);
}

// --kind and --numeric-parts choose within tolva's own scheme, so they imply
// it unless --scheme names another (which the command then refuses).
void imply_tolva_scheme(Invocation& invocation) noexcept {
  if (!invocation.scheme_named) invocation.scheme = Scheme::tolva;
}

std::optional<std::string> set_kind(Invocation& invocation, std::string_view value) {
  auto index = choice_index(kind_words, value);
  if (!index) return not_a_choice(kind_words, value);
  invocation.kind = static_cast<KindChoice>(*index);
  imply_tolva_scheme(invocation);
  return std::nullopt;
}

std::optional<std::string> set_numeric_parts(Invocation& invocation, std::string_view) {
  invocation.numeric_parts = true;
  imply_tolva_scheme(invocation);
  return std::nullopt;
}

std::optional<std::string> set_scheme(Invocation& invocation, std::string_view value) {
  auto index = choice_index(scheme_choices, value);
  if (!index) return not_a_choice(scheme_choices, value);
  invocation.scheme = scheme::named_schemes[*index].scheme;
  invocation.scheme_named = true;
  return std::nullopt;
}

std::optional<std::string> set_colour(Invocation& invocation, std::string_view value) {
  auto index = choice_index(colour_choices, value);
  if (!index) return not_a_choice(colour_choices, value);
  constexpr std::array<ColourChoice, 3> colours{ColourChoice::automatic, ColourChoice::always,
                                                ColourChoice::never};
  invocation.colour = colours[*index];
  return std::nullopt;
}

std::optional<std::string> set_format(Invocation& invocation, std::string_view value) {
  auto index = choice_index(format_choices, value);
  if (!index) return not_a_choice(format_choices, value);
  invocation.format = *index == 0 ? ReportFormat::full : ReportFormat::short_line;
  return std::nullopt;
}

std::optional<std::string> set_key_field(Invocation& invocation, std::string_view value) {
  auto n = read_count(value, 1);
  if (!n) return quoted_name(value) + " is not a field number (" + n.error() + ")";
  invocation.key_field = *n;
  return std::nullopt;
}

std::optional<std::string> set_separator(Invocation& invocation, std::string_view value) {
  if (value.size() != 1) return quoted_name(value) + " is not one byte";
  invocation.separator = value.front();
  return std::nullopt;
}

std::optional<std::string> set_buffer_size(Invocation& invocation, std::string_view value) {
  auto n = read_size(value);
  if (!n) return quoted_name(value) + " is not a buffer size (" + n.error() + ")";
  invocation.buffer_size = *n;
  return std::nullopt;
}

std::optional<std::string> set_parallel(Invocation& invocation, std::string_view value) {
  auto n = read_count(value, 1);
  if (!n || *n > 1024) return quoted_name(value) + " is not a thread count from 1 to 1024";
  invocation.parallel = static_cast<unsigned>(*n);
  return std::nullopt;
}

std::optional<std::string> set_lines(Invocation& invocation, std::string_view value) {
  auto n = read_count(value, 0);
  if (!n) return quoted_name(value) + " is not a count (" + n.error() + ")";
  invocation.lines = *n;
  return std::nullopt;
}

constexpr CommandSet ordering = set_of(sort, compare, filter, newest, oldest);
constexpr CommandSet ranging = set_of(filter, newest, oldest, vers, range);
constexpr CommandSet keyed = set_of(sort, filter, newest, oldest);  // lines with a version field
constexpr CommandSet line_reading = set_of(check, sort, filter, newest, oldest);

constexpr auto options = std::to_array<OptionDefinition>({
    {'\0', "kind", Takes::value, "K", kind_words, every_command,
     "the parser within --scheme tolva, which it implies: version (the default: semver, else "
     "dot-separated, else other), semver, dot-separated or other; any case",
     set_kind},
    {'\0', "scheme", Takes::value, "NAME", scheme_choices, every_command,
     "how versions read and order: natural (the default for sort, compare, filter, newest and "
     "oldest: any text, ordered as release names read: 1.0rc1 < 1.0 < 1.0.1 < 1.0a < 1.9 < "
     "1.10), tolva (the default for check and parse, and with --kind or --numeric-parts: "
     "tolva's grammar, and the order of the Python module's classes), semver (SemVer 2.0.0 "
     "exactly, npm's ranges), debian (dpkg's versions and order), rpm (RPM's), apk "
     "(Alpine's), alpm (Arch Linux's pacman), pypi (Python packages: packaging's versions and "
     "specifiers), cargo (SemVer with ordered build metadata and caret-default requirements), gem "
     "(Ruby gems: "
     "RubyGems' versions and requirements), golang (Go module versions), nuget (NuGet package "
     "versions and intervals), composer (PHP packages: Composer's versions and constraints) or "
     "maven (Maven artifact versions and version ranges)",
     set_scheme},
    {'\0', "color", Takes::optional_value, "WHEN", colour_choices, every_command,
     "colour in reports: auto (the default; decided by CLICOLOR, CLICOLOR_FORCE, NO_COLOR, TERM "
     "and whether standard error is a terminal), always (also a bare --color) or never",
     set_colour, "always"},
    {'\0',
     "numeric-parts",
     Takes::nothing,
     "",
     {},
     ordering,
     "under --scheme tolva, which it implies: within a list of parts, all-digit parts compare "
     "as numbers (1.9 before 1.10), before parts with other characters",
     set_numeric_parts},
    {'r',
     "reverse",
     Takes::nothing,
     "",
     {},
     set_of(sort),
     "the highest version first",
     set_flag<&Invocation::reverse>},
    {'u',
     "unique",
     Takes::nothing,
     "",
     {},
     set_of(sort, newest, oldest),
     "only the first line of each group of equal versions",
     set_flag<&Invocation::unique>},
    {'k',
     "key",
     Takes::value,
     "N",
     {},
     keyed,
     "the version is field N of the line (from 1); the line is written whole",
     set_key_field},
    {'t',
     "field-separator",
     Takes::value,
     "SEP",
     {},
     keyed,
     "fields end at each byte SEP, not at runs of blanks",
     set_separator},
    {'z',
     "zero-terminated",
     Takes::nothing,
     "",
     {},
     line_reading,
     "lines end in a NUL byte, in and out",
     set_flag<&Invocation::zero_terminated>},
    {'o',
     "output",
     Takes::value,
     "FILE",
     {},
     set_of(sort),
     "write to FILE, which may also be an input",
     set_text<&Invocation::output_file>},
    {'c',
     "check",
     Takes::nothing,
     "",
     {},
     set_of(sort),
     "write nothing; exit 1 at the first line out of order, naming it",
     set_flag<&Invocation::check_order>},
    {'\0',
     "keep-rejected",
     Takes::nothing,
     "",
     {},
     set_of(sort),
     "write the rejected lines after the sorted ones, in input order",
     set_flag<&Invocation::keep_rejected>},
    {'S',
     "buffer-size",
     Takes::value,
     "SIZE",
     {},
     set_of(sort),
     "sort in SIZE of memory, spilling to temporary files beyond it: a number of KiB, or with "
     "b, K, M, G, T, or % of physical memory",
     set_buffer_size},
    {'T',
     "temporary-directory",
     Takes::value,
     "DIR",
     {},
     set_of(sort),
     "where temporary files go (default: $TMPDIR, else /tmp)",
     set_text<&Invocation::temp_dir>},
    {'\0',
     "parallel",
     Takes::value,
     "N",
     {},
     set_of(sort),
     "use N threads (default: the number of processors)",
     set_parallel},
    {'q',
     "quiet",
     Takes::nothing,
     "",
     {},
     set_of(check),
     "write nothing, whatever else is asked; stop at the first rejected line",
     set_flag<&Invocation::quiet>},
    {'\0',
     "count",
     Takes::nothing,
     "",
     {},
     set_of(check),
     "write 'A accepted, R rejected' for each FILE, after 'FILE: ' when there are several; "
     "not with --json",
     set_flag<&Invocation::count>},
    {'\0', "format", Takes::value, "FORMAT", format_choices, set_of(check),
     "full reports (the default), or short: one line FILE:LINE:COL: found X expected Y for "
     "each rejected line",
     set_format},
    {'\0',
     "json",
     Takes::nothing,
     "",
     {},
     set_of(check),
     "in place of the reports, one JSON object a rejected line on standard output: file, "
     "line, column, found, expected (in the reports' words), text",
     set_flag<&Invocation::json>},
    {'\0',
     "json",
     Takes::nothing,
     "",
     {},
     set_of(parse),
     "one JSON object a line: the input, and the kind and fields or the error (column, "
     "found, expected), which is then not reported on standard error",
     set_flag<&Invocation::json>},
    {'\0',
     "range",
     Takes::value,
     "RANGE",
     {},
     set_of(newest, oldest),
     "only versions within RANGE",
     set_text<&Invocation::range>},
    {'\0',
     "include-prerelease",
     Takes::nothing,
     "",
     {},
     ranging,
     "let pre-releases satisfy a range that names none of their version",
     set_flag<&Invocation::include_prerelease>},
    {'\0',
     "strict",
     Takes::nothing,
     "",
     {},
     set_of(vers),
     "refuse a vers text that is not already canonical, saying why",
     set_flag<&Invocation::strict>},
    {'\0',
     "json",
     Takes::nothing,
     "",
     {},
     set_of(vers),
     "print {\"scheme\": TYPE, \"version_constraints\": [[OP, VERSION], ...]}, with = for a "
     "bare version",
     set_flag<&Invocation::json>},
    {'\0',
     "native",
     Takes::nothing,
     "",
     {},
     set_of(range),
     "print union and intersection in the scheme's own range syntax",
     set_flag<&Invocation::native>},
    {'n',
     "lines",
     Takes::value,
     "N",
     {},
     set_of(newest, oldest),
     "write N lines (default 1)",
     set_lines},
    {'h', "help", Takes::nothing, "", {}, all_commands, "this help", nullptr},
});

constexpr auto commands = std::to_array<CommandDefinition>({
    {check, "check", "[FILE...]", "file", 0, SIZE_MAX, "",
     "report every line of the input that is not a version",
     "Reads every line of each FILE as one version and explains each rejected line on "
     "standard error. The input is read as it arrives, so it may be of any length.",
     "0 when every line was read, 1 when any was rejected, 2 for a usage error or a FILE that "
     "could not be read."},
    {sort, "sort", "[FILE...]", "file", 0, SIZE_MAX, "", "write the versions of the input in order",
     "Writes the accepted lines of all FILEs to standard output as they were read, ordered by "
     "version: by default as release names read (1.0rc1, 1.0, 1.9, 1.10), with every line "
     "accepted. Equal versions keep their input order. Rejected lines are explained on "
     "standard error.\n"
     "\n"
     "--scheme tolva orders as the Python module's classes do: semantic versions first, then "
     "dot-separated lists, then other names, with parts of a list compared as text (1.10 "
     "before 1.9; --numeric-parts compares all-digit parts as numbers).\n"
     "\n"
     "With -o FILE, all input is read before FILE is opened, so FILE may be one of the inputs; "
     "FILE is then truncated and written in place, through a symlink or into a device or FIFO, "
     "keeping its mode, owner and links. A failure while writing it, such as a full disk, "
     "leaves FILE partly written.",
     "0 when every line was read (with --check: and in order), 1 when any was rejected (with "
     "--check: or out of order), 2 for a usage error or a FILE that could not be read or "
     "written."},
    {compare, "compare", "A B | A OP B", "text", 2, 3, "compare takes two versions A B, or A OP B",
     "compare two versions, or test how they order",
     "With two versions, prints <, = or > as version A orders before, equal to or after B. "
     "With A OP B, where OP is lt, le, eq, ne, gt or ge (or <, <=, ==, !=, >, >=, and << "
     "and >> for lt and gt; under --scheme debian only these, as dpkg reads < and > as <= "
     "and >=), prints "
     "nothing and exits 0 when the comparison holds and 1 when it does not.",
     "0 when both were read (with OP: and the comparison holds), 1 when either was rejected "
     "(with OP: or it does not hold), 2 for a usage error; with OP, a rejected version is 2.",
     2, comparison_words},
    {parse, "parse", "TEXT...", "text", 1, SIZE_MAX, "parse takes at least one text",
     "print what each text reads as",
     "Prints what each TEXT reads as, one a line: its debug form, or with --json an object "
     "with the input, and the kind and its fields or the error.",
     "0 when every TEXT was read, 1 when any was rejected (and explained on standard error, "
     "or with --json in its object), 2 for a usage error."},
    {filter, "filter", "RANGE [FILE...]", "file", 1, SIZE_MAX, "filter takes a range",
     "write the lines whose version lies in a range",
     "Writes, in input order, the accepted lines of all FILEs whose version satisfies RANGE. "
     "RANGE is comparators (<V, <=V, >V, >=V, =V, !=V; a bare V is =V) that must all hold, "
     "separated by blanks or commas, with || between alternatives; under --scheme tolva or "
     "semver also ^V, ~V, wildcards (1.x, 1.2.*, *) and V1 - V2, and under debian << and >>.",
     "0 when every line was read, 1 when any was rejected, 2 for a usage error, a RANGE that "
     "does not read or a FILE that could not be read."},
    {newest, "newest", "[FILE...]", "file", 0, SIZE_MAX, "",
     "write the greatest versions of the input",
     "Writes the N greatest accepted lines of all FILEs (one unless -n says otherwise), "
     "greatest first; of equal versions, the first read.",
     "0 when every line was read, 1 when any was rejected, 2 for a usage error or a FILE that "
     "could not be read."},
    {oldest, "oldest", "[FILE...]", "file", 0, SIZE_MAX, "",
     "write the least versions of the input",
     "Writes the N least accepted lines of all FILEs (one unless -n says otherwise), least "
     "first; of equal versions, the first read.",
     "0 when every line was read, 1 when any was rejected, 2 for a usage error or a FILE that "
     "could not be read."},
    {vers, "vers", "RANGE", "text", 1, 1, "vers takes one range",
     "print a range as its canonical vers text",
     "Reads RANGE, a vers text (vers:TYPE/CONSTRAINTS) or with --scheme a range in that "
     "scheme's own syntax, and prints its canonical vers text: constraints in version order, "
     "each version once, redundant ones dropped. Types are the schemes by their vers names "
     "(npm, semver, deb, rpm, apk, alpm, pypi, cargo, gem, golang, nuget, composer, maven, "
     "natural) and all, none, lexicographic, intdot and datetime.",
     "0 when RANGE was read, 2 with a report when it was not (with --strict: or is not "
     "canonical)."},
    {range, "range", "OPERATION RANGE... [FILE...]", "text", 2, SIZE_MAX,
     "range takes an operation and its ranges", "answer questions about ranges, or combine them",
     "Ranges are vers texts, or with --scheme ranges in that scheme's own syntax; all must be "
     "of one type. OPERATION is intersects A B, disjoint A B or subset A B (A within B), "
     "which answer by the exit status; union A B... or intersection A B...; or simplify RANGE "
     "[FILE...]. "
     "union and intersection print one canonical vers text (with --native: the scheme's own "
     "syntax, where it can say the result). simplify prints the shortest range that keeps "
     "exactly the versions of the input lines that RANGE keeps.",
     "0 for yes (union, intersection and simplify: printed), 1 for no, 2 for a usage error, a "
     "range that does not read or ranges that do not combine."},
    {completion, "completion", "SHELL", "text", 1, 1, "completion takes a shell: bash or zsh",
     "print the completion script for a shell",
     "Prints the completion script of bash or zsh for tolva. For bash, write it to "
     "~/.local/share/bash-completion/completions/tolva, or source it from ~/.bashrc; for zsh, "
     "write it as _tolva into a directory on $fpath.",
     "0 when the script was written, 2 for a usage error.", 1, shell_words},
});

// definition_of finds a command by its place.
static_assert([] {
  for (std::size_t i = 0; i < commands.size(); ++i) {
    if (commands[i].command != static_cast<Command>(i)) return false;
  }
  return true;
}());

constexpr std::array<ToolOption, 2> tool_option_list{{
    {'h', "help", "this help, or a command's with COMMAND --help"},
    {'\0', "version", "the tool's version"},
}};

}  // namespace

const std::string_view tool_description =
    "Reads, checks, orders and explains software version numbers.";
const std::string_view tool_inputs =
    "FILE is read one version a line; \"-\", or no FILE, is standard input. A rejected text is "
    "explained on standard error, naming the file, line and column.";
const std::string_view tool_exit_status =
    "0 when every text was read, 1 when any was rejected, 2 for a usage error or an input that "
    "could not be read.";

std::span<const CommandDefinition> command_definitions() noexcept { return commands; }
std::span<const OptionDefinition> option_definitions() noexcept { return options; }
std::span<const ToolOption> tool_options() noexcept { return tool_option_list; }

Scheme default_scheme(Command command) noexcept {
  return (ordering & set_of(command)) != 0 ? Scheme::natural : Scheme::tolva;
}

const CommandDefinition& definition_of(Command command) noexcept {
  return commands[static_cast<std::size_t>(command)];
}

std::string command_list(CommandSet set) {
  std::array<std::string_view, commands.size()> names;
  std::size_t count = 0;
  for (const CommandDefinition& command : commands) {
    if (set & set_of(command.command)) names[count++] = command.name;
  }
  return choice_list(std::span(names).first(count), " and ");
}

}  // namespace tolva::cli
