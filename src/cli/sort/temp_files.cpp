#include "temp_files.hpp"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "../failure.hpp"
#include "../shown_name.hpp"
#include "text/write_all.hpp"

namespace tolva::cli::sort {
namespace temp_files {
namespace {

// What a signal handler may read: descriptors, a name of fixed length and
// flags, never the heap. The folder is reached through descriptors, never by
// its path, so a parent of any path the system opens will do, and nothing
// here is bounded by a path's length. Run files are named by number in the
// folder, so the handler can name every one of them without a list: those
// from 0 to run_count - 1.
constexpr std::string_view folder_prefix = "tolva-sort.";
constexpr std::size_t random_length = 6;
char folder_name[folder_prefix.size() + random_length + 1];
volatile sig_atomic_t parent_fd = -1;
volatile sig_atomic_t folder_fd = -1;
std::atomic<unsigned long> run_count{0};
// The folder's path, for messages only.
std::string folder_path;

// Every signal whose default action ends the process, but those of a fault
// (SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGTRAP, SIGSYS, SIGABRT): a process that
// faulted cannot trust the descriptors it would remove files through, and its
// core should show the fault as it happened.
constexpr int handled_signals[] = {
    SIGINT,    SIGTERM, SIGHUP,  SIGPIPE, SIGQUIT, SIGALRM, SIGVTALRM,
    SIGPROF,   SIGXCPU, SIGXFSZ, SIGUSR1, SIGUSR2, SIGIO,
#ifdef SIGPWR
    SIGPWR,
#endif
#ifdef SIGSTKFLT
    SIGSTKFLT,
#endif
};

// The handled signals, the real-time ones among them.
sigset_t handled_set() noexcept {
  sigset_t set;
  sigemptyset(&set);
  for (int signal : handled_signals) sigaddset(&set, signal);
  for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal) sigaddset(&set, signal);
  return set;
}

// A run file's name, its number in decimal, written without the C library's
// formatting, which is not async-signal-safe.
struct RunName {
  char text[24];

  explicit RunName(unsigned long number) noexcept {
    char digits[24];
    std::size_t count = 0;
    do {
      digits[count++] = static_cast<char>('0' + number % 10);
      number /= 10;
    } while (number != 0);
    std::size_t length = 0;
    while (count > 0) text[length++] = digits[--count];
    text[length] = '\0';
  }
};

// The name of a run file, the end of the path create_run_file gave it.
const char* name_of(const std::string& path) noexcept { return path.c_str() + path.rfind('/') + 1; }

void on_signal(int signal) {
  int saved = errno;
  remove_all();
  errno = saved;
  // The handler was installed to run once; the signal, blocked while it
  // runs, is delivered again on return, now with its default action.
  ::raise(signal);
}

// Names the folder with the prefix and letters and digits that differ from
// one call to the next.
void fill_folder_name() noexcept {
  static constexpr char letters[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  static unsigned long calls = 0;
  unsigned long long bits = 0;
  if (::getrandom(&bits, sizeof bits, GRND_NONBLOCK) != sizeof bits) {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    bits = static_cast<unsigned long long>(now.tv_nsec) ^
           (static_cast<unsigned long long>(::getpid()) << 32) ^ ++calls;
  }
  std::memcpy(folder_name, folder_prefix.data(), folder_prefix.size());
  for (std::size_t i = folder_prefix.size(); i < sizeof folder_name - 1; ++i) {
    folder_name[i] = letters[bits % (sizeof letters - 1)];
    bits /= sizeof letters - 1;
  }
  folder_name[sizeof folder_name - 1] = '\0';
}

int open_retrying(int at, const char* path, int flags, mode_t mode = 0) noexcept {
  int fd = -1;
  do {
    fd = ::openat(at, path, flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// Makes the process's folder under `parent`, once: 0, or the errno.
int make_folder(std::string_view parent) {
  if (folder_fd >= 0) return 0;
  std::string parent_path(parent);  // a view promises no terminating NUL
  int parent_dir = open_retrying(AT_FDCWD, parent_path.c_str(), O_PATH | O_DIRECTORY);
  if (parent_dir < 0) return errno;
  int error = EEXIST;
  for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
    fill_folder_name();
    // The handler must never see a folder that exists but is not recorded.
    HandledSignalsBlocked held;
    if (::mkdirat(parent_dir, folder_name, 0700) != 0) {
      error = errno;
      continue;
    }
    int fd = open_retrying(parent_dir, folder_name, O_PATH | O_DIRECTORY | O_NOFOLLOW);
    if (fd < 0) {
      error = errno;
      ::unlinkat(parent_dir, folder_name, AT_REMOVEDIR);
      break;
    }
    run_count = 0;
    parent_fd = parent_dir;
    folder_fd = fd;
    folder_path = parent_path + '/' + folder_name;
    return 0;
  }
  ::close(parent_dir);
  return error;
}

}  // namespace

void install_signal_handlers() noexcept {
  const sigset_t handled = handled_set();
  for (int signal = 1; signal < NSIG; ++signal) {
    if (sigismember(&handled, signal) != 1) continue;
    struct sigaction old {};
    if (::sigaction(signal, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = on_signal;
    action.sa_flags = SA_RESETHAND;
    action.sa_mask = handled;
    ::sigaction(signal, &action, nullptr);
  }
}

HandledSignalsBlocked::HandledSignalsBlocked() noexcept {
  const sigset_t handled = handled_set();
  ::pthread_sigmask(SIG_BLOCK, &handled, &old_);
}

HandledSignalsBlocked::~HandledSignalsBlocked() { ::pthread_sigmask(SIG_SETMASK, &old_, nullptr); }

Created create_run_file(std::string_view parent) {
  Created created;
  if (int error = make_folder(parent); error != 0) {
    created.path = std::string(parent);
    created.error = error;
    return created;
  }
  // Counted before it is made, so that a signal in between still removes it.
  RunName name(run_count.fetch_add(1));
  created.path = folder_path + '/' + name.text;
  created.fd = open_retrying(folder_fd, name.text, O_RDWR | O_CREAT | O_EXCL, 0600);
  if (created.fd < 0) created.error = errno;
  return created;
}

int open_run_file(const std::string& path) noexcept {
  int fd = open_retrying(folder_fd, name_of(path), O_RDONLY);
  return fd < 0 ? -errno : fd;
}

void remove(const std::string& path) noexcept { ::unlinkat(folder_fd, name_of(path), 0); }

void remove_all() noexcept {
  if (folder_fd < 0) return;
  unsigned long count = run_count.load();
  for (unsigned long number = 0; number < count; ++number) {
    ::unlinkat(folder_fd, RunName(number).text, 0);
  }
  ::unlinkat(parent_fd, folder_name, AT_REMOVEDIR);
  // Forgotten before they are closed, so that no later call (a signal's
  // included) uses a number the system may give to another file.
  int folder = folder_fd;
  int parent = parent_fd;
  folder_fd = -1;
  parent_fd = -1;
  ::close(folder);
  ::close(parent);
}

void fail_on(std::string_view what, std::string_view path, int error) {
  std::string message(what);
  message.append(" temporary file ").append(shown_name(path)).append(": ");
  message.append(std::strerror(error));
  cli::fail(std::move(message));
}

}  // namespace temp_files

}  // namespace tolva::cli::sort
