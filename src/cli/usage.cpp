#include "usage.hpp"

namespace tolva::cli {
namespace {

constexpr std::string_view tool_usage =
    "usage: tolva check [--kind K] [--color=WHEN] [FILE...]\n"
    "       tolva sort [--kind K] [--color=WHEN] [-r] [-u] [FILE...]\n"
    "       tolva compare [--kind K] [--color=WHEN] A B\n"
    "       tolva parse [--kind K] [--color=WHEN] [--json] TEXT...\n"
    "       tolva --help | --version | COMMAND --help\n";

constexpr std::string_view tool_help =
    "Reads, checks, orders and explains software version numbers.\n"
    "\n"
    "Commands:\n"
    "  check    report every line of the input that is not a version\n"
    "  sort     write the versions of the input in order\n"
    "  compare  print <, = or > for two versions\n"
    "  parse    print what each text reads as\n"
    "\n"
    "FILE is read one version a line; \"-\", or no FILE, is standard input.\n"
    "A rejected text is explained on standard error, naming the file, line\n"
    "and column.\n"
    "\n"
    "Options:\n"
    "  --kind K        the parser: version (the default: semver, else\n"
    "                  dot-separated, else other), semver, dot-separated or other\n"
    "  --color=WHEN    colour in reports: auto (the default; decided by\n"
    "                  CLICOLOR, CLICOLOR_FORCE, NO_COLOR, TERM and whether\n"
    "                  standard error is a terminal), always or never\n"
    "  -h, --help      this help, or a command's with COMMAND --help\n"
    "  --version       the tool's version\n"
    "\n"
    "Exit status: 0 when every text was read, 1 when any was rejected,\n"
    "2 for a usage error or an input that could not be read.\n";

constexpr std::string_view check_usage = "usage: tolva check [--kind K] [--color=WHEN] [FILE...]\n";
constexpr std::string_view check_help =
    "Reads every line of each FILE (standard input when there is none, or for\n"
    "\"-\") as one version and explains each rejected line on standard error.\n"
    "The input is read as it arrives, so it may be of any length.\n"
    "\n"
    "  --kind K        version, semver, dot-separated or other\n"
    "  --color=WHEN    auto, always or never\n"
    "\n"
    "Exit status: 0 when every line was read, 1 when any was rejected,\n"
    "2 for a usage error or a FILE that could not be read.\n";

constexpr std::string_view sort_usage =
    "usage: tolva sort [--kind K] [--color=WHEN] [-r] [-u] [FILE...]\n";
constexpr std::string_view sort_help =
    "Writes the accepted lines of all FILEs (standard input when there is none,\n"
    "or for \"-\") to standard output as they were read, ordered by version:\n"
    "semantic versions first, then dot-separated lists, then other names.\n"
    "Equal versions keep their input order. Rejected lines are explained on\n"
    "standard error.\n"
    "\n"
    "  --kind K        version, semver, dot-separated or other\n"
    "  --color=WHEN    auto, always or never\n"
    "  -r, --reverse   the highest version first\n"
    "  -u, --unique    only the first line of each group of equal versions\n"
    "\n"
    "Exit status: 0 when every line was read, 1 when any was rejected,\n"
    "2 for a usage error or a FILE that could not be read.\n";

constexpr std::string_view compare_usage = "usage: tolva compare [--kind K] [--color=WHEN] A B\n";
constexpr std::string_view compare_help =
    "Prints <, = or > as version A orders before, equal to or after B.\n"
    "\n"
    "  --kind K        version, semver, dot-separated or other\n"
    "  --color=WHEN    auto, always or never\n"
    "\n"
    "Exit status: 0 when both were read, 1 when either was rejected (and\n"
    "explained on standard error), 2 for a usage error.\n";

constexpr std::string_view parse_usage =
    "usage: tolva parse [--kind K] [--color=WHEN] [--json] TEXT...\n";
constexpr std::string_view parse_help =
    "Prints what each TEXT reads as, one a line: its debug form, or with\n"
    "--json an object with the kind and its fields.\n"
    "\n"
    "  --kind K        version, semver, dot-separated or other\n"
    "  --color=WHEN    auto, always or never\n"
    "  --json          one JSON object a line\n"
    "\n"
    "Exit status: 0 when every TEXT was read, 1 when any was rejected (and\n"
    "explained on standard error), 2 for a usage error.\n";

struct Texts {
  std::string_view usage;
  std::string_view help;
};

Texts texts_of(std::optional<Command> command) noexcept {
  if (!command) return {tool_usage, tool_help};
  switch (*command) {
    case Command::check:
      return {check_usage, check_help};
    case Command::sort:
      return {sort_usage, sort_help};
    case Command::compare:
      return {compare_usage, compare_help};
    case Command::parse:
      return {parse_usage, parse_help};
  }
  return {tool_usage, tool_help};
}

}  // namespace

std::string_view usage_line(std::optional<Command> command) noexcept {
  return texts_of(command).usage;
}

std::string_view help_text(std::optional<Command> command) noexcept {
  return texts_of(command).help;
}

}  // namespace tolva::cli
