#pragma once

#include <expected>
#include <string>
#include <string_view>

namespace tolva::cli::sort {

// The temporary files of this process: its spilled runs, in a folder of its
// own made on first use, and the file the output is written to before it is
// renamed into place. They are removed when the sort ends, however it ends:
// on return, on a fatal error, and on SIGINT, SIGTERM, SIGHUP or SIGPIPE,
// whose handler removes them with async-signal-safe calls and then dies of
// the signal as it would have.
namespace temp_files {

// Installs the signal handlers, except for signals ignored on entry, which
// stay ignored.
void install_signal_handlers() noexcept;

// Creates a new empty file for a run in the process's folder under `parent`
// (made on first use) and opens it for reading and writing: the descriptor
// and its path, or the errno and the path that failed.
struct Created {
  int fd = -1;
  std::string path;
  int error = 0;
};
Created create_run_file(std::string_view parent);

// Creates the file that becomes `target` by rename, in the same folder.
Created create_output_file(std::string_view target);
// Renames the output file onto `target`: 0, or the errno.
int publish_output_file(std::string_view target) noexcept;

// Removes a file made here once its content is used.
void remove(const std::string& path) noexcept;

// Removes everything made here; safe to call from a signal handler, and more
// than once.
void remove_all() noexcept;

}  // namespace temp_files

// Removes every temporary file and ends the process with status 2 after
// writing "tolva: MESSAGE" to standard error.
[[noreturn]] void fail(std::string_view message) noexcept;

}  // namespace tolva::cli::sort
