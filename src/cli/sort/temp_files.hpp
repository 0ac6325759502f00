#pragma once

#include <signal.h>

#include <expected>
#include <string>
#include <string_view>

namespace tolva::cli::sort {

// The temporary files of this process: its spilled runs, in a folder of its
// own made on first use. They are removed when the sort ends, however it ends:
// on return, on a fatal error, and on every signal whose default action ends
// the process (SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGXFSZ, SIGXCPU, SIGALRM,
// SIGUSR1, ...; not the faults such as SIGSEGV), whose handler removes them
// with async-signal-safe calls and then dies of the signal as it would have.
namespace temp_files {

// Installs the signal handlers, except for signals ignored on entry, which
// stay ignored.
void install_signal_handlers() noexcept;

// Blocks the handled signals on this thread while it lives: a thread started
// meanwhile inherits the mask, so the handler runs on the main thread only.
class HandledSignalsBlocked {
 public:
  HandledSignalsBlocked() noexcept;
  HandledSignalsBlocked(const HandledSignalsBlocked&) = delete;
  HandledSignalsBlocked& operator=(const HandledSignalsBlocked&) = delete;
  ~HandledSignalsBlocked();

 private:
  sigset_t old_;
};

// Creates a new empty file for a run in the process's folder under `parent`
// (made on first use) and opens it for reading and writing: the descriptor
// and its path, or the errno and the path that failed. The path names the
// file in messages and to the calls below; the file itself is reached
// through the folder's descriptor, so the path may be longer than the
// system would open.
struct Created {
  int fd = -1;
  std::string path;
  int error = 0;
};
Created create_run_file(std::string_view parent);

// Opens a file made here for reading: the descriptor, or the negated errno.
int open_run_file(const std::string& path) noexcept;

// Removes a file made here once its content is used.
void remove(const std::string& path) noexcept;

// Removes everything made here; safe to call from a signal handler, and more
// than once.
void remove_all() noexcept;

// Ends the tool (a Failure) with "WHAT temporary file PATH: REASON",
// the path shown as every name is.
[[noreturn]] void fail_on(std::string_view what, std::string_view path, int error);

}  // namespace temp_files

}  // namespace tolva::cli::sort
