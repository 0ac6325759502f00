#pragma once

#include <string>
#include <string_view>

#include "../output.hpp"

namespace tolva::cli::sort {

// The rejected lines, kept in input order to follow the sorted ones: in
// memory up to a limit, then in a temporary file.
class RejectedLines {
 public:
  RejectedLines(std::string_view temp_dir, std::size_t limit);
  RejectedLines(const RejectedLines&) = delete;
  RejectedLines& operator=(const RejectedLines&) = delete;
  ~RejectedLines();

  // Adds lines, each with its terminator.
  void add(std::string_view lines);
  void write(Output& out);

 private:
  std::string_view temp_dir_;
  std::size_t limit_;
  std::string held_;
  int fd_ = -1;
  std::string path_;
};

}  // namespace tolva::cli::sort
