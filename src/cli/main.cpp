// The `tolva` command: checks, sorts, compares, parses, filters and picks the
// newest or oldest of version numbers.

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <new>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "command_line.hpp"
#include "commands.hpp"
#include "failure.hpp"
#include "output.hpp"
#include "text/write_all.hpp"
#include "tolva/io/terminal_colour.hpp"
#include "tolva/version.hpp"
#include "usage.hpp"
#include "usage_error.hpp"

namespace tolva::cli {
namespace {

bool colour_for(ColourChoice choice) {
  switch (choice) {
    case ColourChoice::always: return true;
    case ColourChoice::never: return false;
    case ColourChoice::automatic: break;
  }
  return io::stderr_colour_in_force();
}

ExitStatus run_invocation(const Invocation& invocation, Streams& io) {
  if (invocation.scheme != Scheme::tolva &&
      (invocation.kind != KindChoice::version || invocation.numeric_parts)) {
    return usage_error(io,
                       "--kind and --numeric-parts choose within tolva's own scheme; give "
                       "them without --scheme",
                       invocation.command);
  }
  bool colour = colour_for(invocation.colour);
  switch (invocation.command) {
    case Command::check: return run_check(invocation, colour, io);
    case Command::sort: return run_sort(invocation, colour, io);
    case Command::compare: return run_compare(invocation, colour, io);
    case Command::parse: return run_parse(invocation, colour, io);
    case Command::filter: return run_filter(invocation, colour, io);
    case Command::newest:
    case Command::oldest: return run_extremes(invocation, colour, io);
    case Command::vers: return run_vers(invocation, io);
    case Command::range: return run_range(invocation, io);
    case Command::completion: return run_completion(invocation, io);
  }
  return ExitStatus::trouble;
}

ExitStatus run(std::span<char*> argv, Streams& io) {
  std::vector<std::string_view> args(argv.begin() + (argv.empty() ? 0 : 1), argv.end());
  Request request = read_command_line(args);
  if (auto* invocation = std::get_if<Invocation>(&request)) return run_invocation(*invocation, io);
  if (auto* help = std::get_if<HelpRequest>(&request)) {
    io.out.write(usage_line(help->command));
    io.out.write("\n");
    io.out.write(help_text(help->command));
    return ExitStatus::ok;
  }
  if (std::holds_alternative<VersionRequest>(request)) {
    io.out.write("tolva " TOLVA_VERSION "\n");
    return ExitStatus::ok;
  }
  const auto& error = std::get<UsageError>(request);
  return usage_error(io, error.message, error.command);
}

// The last word of a failure: written straight to the descriptor, since the
// streams may be what failed.
int ended(ExitStatus status, std::string_view why) noexcept {
  if (!why.empty()) {
    write_all(2, "tolva: ");
    write_all(2, why);
    write_all(2, "\n");
  }
  return static_cast<int>(status);
}

// Standard output closed and checked once, at the end: a file system may
// report a failed write only then. A descriptor the caller closed, which
// nothing was written to, is no failure.
void close_standard_output() {
  if (::close(1) != 0 && errno != EINTR && errno != EBADF) {
    fail(std::string("cannot write to standard output: ") + std::strerror(errno));
  }
}

}  // namespace
}  // namespace tolva::cli

int main(int argc, char** argv) {
  using namespace tolva::cli;
  const ExitStatus trouble = ExitStatus::trouble;
  try {
    Streams io;
    ExitStatus status = run(std::span<char*>(argv, static_cast<std::size_t>(argc)), io);
    io.flush();
    close_standard_output();
    return static_cast<int>(status);
  } catch (const Failure& failure) {
    return ended(failure.status, failure.message);
  } catch (const std::bad_alloc&) {
    return ended(trouble, "out of memory");
  } catch (const std::exception& e) {
    return ended(trouble, e.what());
  } catch (...) {
    return ended(trouble, "internal error");
  }
}
