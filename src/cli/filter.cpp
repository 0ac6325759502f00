#include "commands.hpp"
#include "inputs.hpp"
#include "line_order.hpp"
#include "lines.hpp"
#include "tolva/parse.hpp"

namespace tolva::cli {

// Line by line as it arrives: memory holds the longest line and one value.
ExitStatus run_filter(const Invocation& invocation, bool colour, Streams& io) {
  const std::optional<LineRange> range = LineRange::read(invocation, colour, io);
  if (!range) return ExitStatus::trouble;
  const LineOrder order(invocation);
  std::string key;
  ExitStatus status = ExitStatus::ok;
  ExitStatus read = for_each_input(invocation.operands, io, [&](int fd, std::string_view name) {
    LineReader lines(fd);
    report::ReportStyle style{.source_name = name, .first_line = 0, .colour = colour};
    for (;;) {
      auto line = lines.next();
      if (!line) return line.error();
      if (!*line) return 0;
      ++style.first_line;
      auto within = range->holds(order, **line, key);
      if (!within) {
        io.report(explain(within.error(), **line, style));
        status = ExitStatus::rejected;
      } else if (*within) {
        io.out.buffer().append(**line).push_back('\n');
        io.out.write_if_full();
      }
    }
  });
  order.tell_of_mixed_kinds(io);
  return worse(status, read);
}

}  // namespace tolva::cli
