#include "run_file.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "temp_files.hpp"
#include "text/write_all.hpp"

namespace tolva::cli::sort {
namespace {

constexpr std::size_t header_size = 2 * sizeof(std::uint64_t);

using temp_files::fail_on;

}  // namespace

RunWriter::RunWriter(std::string_view temp_dir, std::size_t buffer_size)
    : buffer_size_(buffer_size) {
  temp_files::Created created = temp_files::create_run_file(temp_dir);
  if (created.fd < 0) fail_on("cannot create", created.path, created.error);
  fd_ = created.fd;
  path_ = std::move(created.path);
  buffer_.reserve(buffer_size_);
}

RunWriter::~RunWriter() {
  if (fd_ >= 0) ::close(fd_);
}

void RunWriter::add(const Record& record) {
  auto key_size = std::uint64_t{record.key.size()};
  std::uint64_t line_size = record.line.size();
  char header[header_size];
  std::memcpy(header, &key_size, sizeof key_size);
  std::memcpy(header + sizeof key_size, &line_size, sizeof line_size);
  buffer_.append(header, header_size);
  // A record longer than the buffer goes out as it is, never copied.
  if (record.key.size() + record.line.size() >= buffer_size_) {
    flush();
    write_out(record.key);
    write_out(record.line);
    return;
  }
  buffer_.append(record.key).append(record.line);
  if (buffer_.size() >= buffer_size_) flush();
}

void RunWriter::flush() {
  write_out(buffer_);
  buffer_.clear();
}

void RunWriter::write_out(std::string_view bytes) {
  int error = write_all(fd_, bytes).error;
  if (error != 0) fail_on("cannot write to", path_, error);
}

std::string RunWriter::finish() {
  flush();
  if (::close(fd_) != 0 && errno != EINTR) fail_on("cannot write to", path_, errno);
  fd_ = -1;
  return std::move(path_);
}

RunReader::RunReader(std::string path, std::size_t buffer_size)
    : path_(std::move(path)), buffer_(buffer_size, '\0') {
  fd_ = temp_files::open_run_file(path_);
  if (fd_ < 0) fail_on("cannot open", path_, -fd_);
}

RunReader::~RunReader() {
  if (fd_ >= 0) ::close(fd_);
}

bool RunReader::fill(std::size_t wanted) {
  if (end_ - start_ >= wanted) return true;
  std::size_t unread = end_ - start_;
  std::memmove(buffer_.data(), buffer_.data() + start_, unread);
  start_ = 0;
  end_ = unread;
  if (buffer_.size() < wanted) buffer_.resize(wanted);
  while (end_ < wanted) {
    ssize_t got = ::read(fd_, buffer_.data() + end_, buffer_.size() - end_);
    if (got < 0) {
      if (errno == EINTR) continue;
      fail_on("cannot read", path_, errno);
    }
    if (got == 0) return false;
    end_ += static_cast<std::size_t>(got);
  }
  return true;
}

bool RunReader::next(Record& record) {
  if (!fill(header_size)) {
    if (end_ != start_) fail_on("cannot read", path_, EIO);
    return false;
  }
  std::uint64_t key_size;
  std::uint64_t line_size;
  std::memcpy(&key_size, buffer_.data() + start_, sizeof key_size);
  std::memcpy(&line_size, buffer_.data() + start_ + sizeof key_size, sizeof line_size);
  std::size_t size = header_size + key_size + line_size;
  if (!fill(size)) fail_on("cannot read", path_, EIO);
  const char* at = buffer_.data() + start_ + header_size;
  record = Record{{at, key_size}, {at + key_size, line_size}};
  start_ += size;
  return true;
}

}  // namespace tolva::cli::sort
