// The sort command: sorts, or checks the order of, the lines of its inputs.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "../commands.hpp"
#include "../failure.hpp"
#include "../inputs.hpp"
#include "../shown_name.hpp"
#include "check_order.hpp"
#include "machine.hpp"
#include "sorter.hpp"
#include "temp_files.hpp"

namespace tolva::cli {
namespace {

std::string temp_dir_for(const Invocation& invocation) {
  if (invocation.temp_dir) return std::string(*invocation.temp_dir);
  const char* from_environment = std::getenv("TMPDIR");
  if (from_environment != nullptr && *from_environment != '\0') return from_environment;
  return "/tmp";
}

sort::Settings settings_for(const Invocation& invocation, bool colour) {
  return sort::Settings{
      .options = invocation,
      .order = LineOrder(invocation),
      .colour = colour,
      .terminator = invocation.zero_terminated ? '\0' : '\n',
      .buffer_size = invocation.buffer_size.value_or(sort::default_buffer_size()),
      .threads = invocation.parallel.value_or(sort::usable_processors()),
      .temp_dir = temp_dir_for(invocation),
  };
}

[[noreturn]] void cannot_write(std::string_view shown, int error) {
  std::string message = "cannot write to ";
  message.append(shown).append(": ").append(std::strerror(error));
  fail(message);
}

// Writes the sorted lines into the file at `path` as a careful sort does: all
// input is read and every spilled run complete before the file is opened, so
// it may be one of the inputs and only the last merge writes it; then it is
// truncated and written in place, through a symlink, into a device or FIFO,
// keeping its mode, owner and links (a new file gets 0666 less the umask). A
// failed write, such as a full disk, leaves it partly written.
void write_to_file(sort::Sorter& sorter, std::string_view path) {
  std::string shown = shown_name(path);
  sorter.finish_input();
  std::string name(path);  // a view promises no terminating NUL
  int fd = -1;
  do {
    fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) cannot_write(shown, errno);
  {
    Output out(fd, shown);
    sorter.write(out);
    out.flush();
  }
  if (::close(fd) != 0 && errno != EINTR) cannot_write(shown, errno);
}

// Removes the temporary files however the sort returns, also when a failure
// (a write that failed, no memory) passes through on its way to main.
struct TempFilesRemoved {
  TempFilesRemoved() = default;
  TempFilesRemoved(const TempFilesRemoved&) = delete;
  TempFilesRemoved& operator=(const TempFilesRemoved&) = delete;
  ~TempFilesRemoved() { sort::temp_files::remove_all(); }
};

}  // namespace

ExitStatus run_sort(const Invocation& invocation, bool colour, Streams& io) {
  sort::Settings settings = settings_for(invocation, colour);
  TempFilesRemoved removed;
  sort::temp_files::install_signal_handlers();
  if (invocation.check_order) {
    sort::OrderCheck check(settings, io);
    ExitStatus read = for_each_input(invocation.operands, io, [&](int fd, std::string_view name) {
      return check.read(fd, name);
    });
    settings.order.tell_of_mixed_kinds(io);
    return worse(check.status(), read);
  }
  sort::Sorter sorter(settings, io);
  ExitStatus read = for_each_input(invocation.operands, io, [&](int fd, std::string_view name) {
    return sorter.read(fd, name);
  });
  if (invocation.output_file) {
    write_to_file(sorter, *invocation.output_file);
  } else {
    sorter.write(io.out);
  }
  settings.order.tell_of_mixed_kinds(io);
  return worse(sorter.status(), read);
}

}  // namespace tolva::cli
