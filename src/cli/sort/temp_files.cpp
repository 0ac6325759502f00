#include "temp_files.hpp"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "text/write_all.hpp"

namespace tolva::cli::sort {
namespace temp_files {
namespace {

// What a signal handler may read: fixed buffers and flags, never the heap.
// Run files are named by number in the folder, so the handler can name every
// one of them without a list: those from 0 to run_count - 1.
char folder[PATH_MAX];
volatile sig_atomic_t folder_made = 0;
std::atomic<unsigned long> run_count{0};
char output_path[PATH_MAX];
volatile sig_atomic_t output_made = 0;

constexpr int handled_signals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// Writes "FOLDER/NUMBER" into `out` without the C library's formatting,
// which is not async-signal-safe.
void run_path(char (&out)[PATH_MAX], unsigned long number) noexcept {
  std::size_t length = std::strlen(folder);
  char digits[24];
  std::size_t count = 0;
  do {
    digits[count++] = static_cast<char>('0' + number % 10);
    number /= 10;
  } while (number != 0);
  std::memcpy(out, folder, length);
  out[length++] = '/';
  while (count > 0) out[length++] = digits[--count];
  out[length] = '\0';
}

void on_signal(int signal) {
  int saved = errno;
  remove_all();
  errno = saved;
  // The handler was installed to run once; the signal, blocked while it
  // runs, is delivered again on return, now with its default action.
  ::raise(signal);
}

bool fits(std::string_view text) noexcept { return text.size() + 16 < PATH_MAX; }

int make_folder(std::string_view parent) {
  if (folder_made) return 0;
  if (!fits(parent)) return ENAMETOOLONG;
  std::string pattern(parent);
  pattern.append("/tolva-sort.XXXXXX");
  std::memcpy(folder, pattern.c_str(), pattern.size() + 1);
  // Marked before it exists, so that a signal in between still removes it.
  folder_made = 1;
  if (::mkdtemp(folder) == nullptr) {
    folder_made = 0;
    return errno;
  }
  return 0;
}

}  // namespace

void install_signal_handlers() noexcept {
  for (int signal : handled_signals) {
    struct sigaction old {};
    if (::sigaction(signal, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = on_signal;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int other : handled_signals) sigaddset(&action.sa_mask, other);
    ::sigaction(signal, &action, nullptr);
  }
}

Created create_run_file(std::string_view parent) {
  Created created;
  if (int error = make_folder(parent); error != 0) {
    created.path = std::string(parent);
    created.error = error;
    return created;
  }
  // Counted before it is made, so that a signal in between still removes it.
  unsigned long number = run_count.fetch_add(1);
  char path[PATH_MAX];
  run_path(path, number);
  created.path = path;
  do {
    created.fd = ::open(path, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  } while (created.fd < 0 && errno == EINTR);
  if (created.fd < 0) created.error = errno;
  return created;
}

Created create_output_file(std::string_view target) {
  Created created;
  std::size_t slash = target.rfind('/');
  std::string pattern(slash == std::string_view::npos ? std::string_view()
                                                      : target.substr(0, slash + 1));
  pattern.append(".tolva-sort.XXXXXX");
  if (pattern.size() >= PATH_MAX) {
    created.error = ENAMETOOLONG;
    return created;
  }
  std::memcpy(output_path, pattern.c_str(), pattern.size() + 1);
  output_made = 1;
  created.fd = ::mkostemp(output_path, O_CLOEXEC);
  if (created.fd < 0) {
    output_made = 0;
    created.error = errno;
    return created;
  }
  created.path = output_path;
  // mkostemp makes the file private; the output gets what a new file would.
  mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(created.fd, 0666 & ~mask);
  return created;
}

int publish_output_file(std::string_view target) noexcept {
  std::string path(target);
  if (::rename(output_path, path.c_str()) != 0) return errno;
  output_made = 0;
  return 0;
}

void remove(const std::string& path) noexcept { ::unlink(path.c_str()); }

void remove_all() noexcept {
  if (output_made) ::unlink(output_path);
  output_made = 0;
  if (!folder_made) return;
  char path[PATH_MAX];
  unsigned long count = run_count.load();
  for (unsigned long number = 0; number < count; ++number) {
    run_path(path, number);
    ::unlink(path);
  }
  ::rmdir(folder);
  folder_made = 0;
}

}  // namespace temp_files

void fail(std::string_view message) noexcept {
  temp_files::remove_all();
  write_all(2, "tolva: ");
  write_all(2, message);
  write_all(2, "\n");
  std::_Exit(2);
}

}  // namespace tolva::cli::sort
