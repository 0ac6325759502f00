#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "kind.hpp"
#include "tolva/scheme/order.hpp"

namespace tolva::cli {

// The commands that read versions or ranges, then `completion`, which prints
// a shell's completion script.
enum class Command { check, sort, compare, parse, filter, newest, oldest, vers, range, completion };

enum class ColourChoice { automatic, always, never };

// How `check` tells of a rejected line: the whole report, or one line.
enum class ReportFormat { full, short_line };

// A command to run, with its options and operands. Each field is set by the
// options that `definitions.cpp` gives it to.
struct Invocation {
  Command command = Command::check;
  KindChoice kind = KindChoice::version;
  Scheme scheme = Scheme::tolva;  // set by the command's default until an option names one
  bool scheme_named = false;      // --scheme was given
  ColourChoice colour = ColourChoice::automatic;
  bool numeric_parts = false;  // all-digit parts compare as numbers

  // sort
  bool reverse = false;
  bool unique = false;
  std::optional<std::size_t> key_field;  // the version is this field (from 1)
  std::optional<char> separator;         // fields end at this byte, not at blanks
  bool zero_terminated = false;          // lines end in NUL, in and out
  std::optional<std::string_view> output_file;
  bool check_order = false;  // only tell whether the input is in order
  bool keep_rejected = false;
  std::optional<std::size_t> buffer_size;  // bytes
  std::optional<std::string_view> temp_dir;
  std::optional<unsigned> parallel;

  // check
  bool quiet = false;
  bool count = false;
  ReportFormat format = ReportFormat::full;
  bool json = false;  // check and parse

  // filter, newest, oldest; filter's range is its first operand
  std::optional<std::string_view> range;
  bool include_prerelease = false;
  std::size_t lines = 1;  // newest, oldest

  // vers, range
  bool strict = false;  // refuse a vers text that is not canonical
  bool native = false;  // write ranges in their scheme's own syntax

  // Files, texts, or for compare A B or A OP B.
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

}  // namespace tolva::cli
