#include "commands.hpp"
#include "inputs.hpp"
#include "line_order.hpp"
#include "lines.hpp"
#include "rejection.hpp"

namespace tolva::cli {

// Line by line as it arrives: memory holds the longest line and its key.
ExitStatus run_filter(const Invocation& invocation, bool colour, Streams& io) {
  const std::optional<LineRange> range = LineRange::read(invocation, colour, io);
  if (!range) return ExitStatus::trouble;
  const LineOrder order(invocation);
  ExitStatus status = ExitStatus::ok;
  std::string key;
  ExitStatus read = for_each_input(invocation.operands, io, [&](int fd, std::string_view name) {
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
      } else if (range->holds(key)) {
        io.out.write(**line);
        io.out.write("\n");
      }
    }
  });
  order.tell_of_mixed_kinds(io);
  return worse(status, read);
}

}  // namespace tolva::cli
