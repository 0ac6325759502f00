#pragma once

#include <string>
#include <string_view>

#include "command_line.hpp"
#include "inputs.hpp"
#include "line_order.hpp"
#include "lines.hpp"
#include "rejection.hpp"

namespace tolva::cli {

// Reads the lines of every input as they arrive and keys each in `order`:
// a line that does not read is reported and
// makes `status` rejected; each other line goes to `take(key, facts, line)`,
// which may take the key's buffer. Memory holds the longest line and its key.
template <class Take>
ExitStatus for_each_keyed_line(const Invocation& invocation, const LineOrder& order, bool colour,
                               Streams& io, ExitStatus& status, Take take) {
  std::string key;
  return for_each_input(invocation.operands, io, [&](int fd, std::string_view name) {
    LineReader lines(fd);
    for (std::size_t number = 1;; ++number) {
      auto line = lines.next();
      if (!line) return line.error();
      if (!*line) return 0;
      key.clear();
      auto made = order.append_key(key, **line);
      if (!made) {
        io.report(full_report(Rejection{name, number, **line, made.error()}, colour));
        status = ExitStatus::rejected;
      } else {
        take(key, *made, **line);
      }
    }
  });
}

}  // namespace tolva::cli
