#include "rejected_lines.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "temp_files.hpp"
#include "text/write_all.hpp"

namespace tolva::cli::sort {

using temp_files::fail_on;

RejectedLines::RejectedLines(std::string_view temp_dir, std::size_t limit)
    : temp_dir_(temp_dir), limit_(limit) {}

RejectedLines::~RejectedLines() {
  if (fd_ < 0) return;
  ::close(fd_);
  temp_files::remove(path_);
}

void RejectedLines::add(std::string_view lines) {
  held_.append(lines);
  if (held_.size() <= limit_) return;
  if (fd_ < 0) {
    temp_files::Created created = temp_files::create_run_file(temp_dir_);
    if (created.fd < 0) fail_on("cannot create", created.path, created.error);
    fd_ = created.fd;
    path_ = std::move(created.path);
  }
  if (int error = write_all(fd_, held_).error; error != 0) fail_on("cannot write to", path_, error);
  held_.clear();
}

void RejectedLines::write(Output& out) {
  if (fd_ >= 0) {
    if (::lseek(fd_, 0, SEEK_SET) != 0) fail_on("cannot read", path_, errno);
    std::string chunk(64 * 1024, '\0');
    for (;;) {
      ssize_t got = ::read(fd_, chunk.data(), chunk.size());
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) fail_on("cannot read", path_, errno);
      if (got == 0) break;
      out.write(std::string_view(chunk.data(), static_cast<std::size_t>(got)));
    }
  }
  out.write(held_);
  held_.clear();
}

}  // namespace tolva::cli::sort
