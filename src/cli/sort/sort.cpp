// The sort command: sorts, or checks the order of, the lines of its inputs.

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "../commands.hpp"
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
  sort::Settings settings{.order = LineOrder(invocation)};
  settings.colour = colour;
  settings.reverse = invocation.reverse;
  settings.unique = invocation.unique;
  settings.keep_rejected = invocation.keep_rejected;
  settings.terminator = invocation.zero_terminated ? '\0' : '\n';
  settings.key_field = invocation.key_field;
  settings.separator = invocation.separator;
  settings.buffer_size = invocation.buffer_size.value_or(sort::default_buffer_size());
  settings.threads = invocation.parallel.value_or(sort::usable_processors());
  settings.temp_dir = temp_dir_for(invocation);
  return settings;
}

[[noreturn]] void cannot_write(std::string_view shown, int error) {
  std::string message = "cannot write to ";
  message.append(shown).append(": ").append(std::strerror(error));
  sort::fail(message);
}

// Writes the sorted lines to a new file beside `path` that replaces it only
// once complete: an output that is also an input is read whole first, and a
// failed write leaves no partial file.
void write_to_file(sort::Sorter& sorter, std::string_view path) {
  std::string shown = shown_name(path);
  sort::temp_files::Created created = sort::temp_files::create_output_file(path);
  if (created.fd < 0) cannot_write(shown, created.error);
  {
    Output out(created.fd, shown);
    sorter.write(out);
    out.flush();
  }
  if (::close(created.fd) != 0 && errno != EINTR) cannot_write(shown, errno);
  if (int error = sort::temp_files::publish_output_file(path); error != 0)
    cannot_write(shown, error);
}

// Removes the temporary files however the sort returns, also when an
// exception (out of memory) passes through on its way to main.
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
  set_write_failure_cleanup(sort::temp_files::remove_all);
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
