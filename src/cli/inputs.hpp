#pragma once

#include <functional>
#include <span>
#include <string_view>
#include <system_error>

#include "exit_status.hpp"
#include "lines.hpp"
#include "output.hpp"

namespace tolva::cli {

// How reports name standard input.
inline constexpr std::string_view standard_input_name = "<stdin>";

// Reads each named input in turn with `read(fd, shown name)`, which returns
// nothing or the error of a failed read; the shown name lives for that call
// only. "-", or no name at all, is standard input.
// An input that cannot be opened or read is reported with the system's reason
// and the others are still read; the result is then `trouble`.
ExitStatus for_each_input(
    std::span<const std::string_view> names, Streams& io,
    const std::function<std::error_code(int fd, std::string_view shown)>& read);

// Reads the lines of each named input as they arrive, ended by `terminator`,
// with `take(shown name, number, line)`: the line's number counts from 1 in
// its input, and the line lives for that call only.
template <class Take>
ExitStatus for_each_line(std::span<const std::string_view> names, char terminator, Streams& io,
                         Take take) {
  return for_each_input(names, io, [&](int fd, std::string_view name) {
    LineReader lines(fd, terminator);
    for (std::size_t number = 1;; ++number) {
      auto line = lines.next();
      if (!line) return line.error();
      if (!*line) return std::error_code();
      take(name, number, **line);
    }
  });
}

}  // namespace tolva::cli
