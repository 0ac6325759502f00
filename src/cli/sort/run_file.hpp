#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "records.hpp"

namespace tolva::cli::sort {

// A sorted run spilled to a temporary file: records one after another, each
// the key's length (4 bytes), the line's (8 bytes), the key and the line.
// A failed write or read ends the tool (`fail`): the sort cannot go on
// without its runs.
class RunWriter {
 public:
  RunWriter(std::string_view temp_dir, std::size_t buffer_size);
  RunWriter(const RunWriter&) = delete;
  RunWriter& operator=(const RunWriter&) = delete;
  ~RunWriter();

  void add(const Record& record);
  // Writes what is buffered and hands over the file's path; the file is
  // closed.
  std::string finish();

 private:
  void flush();
  void write_out(std::string_view bytes);

  int fd_;
  std::string path_;
  std::string buffer_;
  std::size_t buffer_size_;
};

class RunReader {
 public:
  RunReader(std::string path, std::size_t buffer_size);
  RunReader(const RunReader&) = delete;
  RunReader& operator=(const RunReader&) = delete;
  ~RunReader();

  // The next record, valid until the next call; false at the end of the run.
  bool next(Record& record);
  const std::string& path() const noexcept { return path_; }

 private:
  // Makes at least `wanted` unread bytes available; false at the end.
  bool fill(std::size_t wanted);

  int fd_;
  std::string path_;
  std::string buffer_;
  std::size_t start_ = 0;
  std::size_t end_ = 0;
};

}  // namespace tolva::cli::sort
