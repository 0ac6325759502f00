#include "commands.hpp"
#include "inputs.hpp"
#include "kind.hpp"
#include "lines.hpp"

namespace tolva::cli {

ExitStatus run_check(const Invocation& invocation, bool colour, Streams& io) {
  ExitStatus status = ExitStatus::ok;
  ExitStatus read = for_each_input(invocation.operands, io, [&](int fd, std::string_view name) {
    LineReader lines(fd);
    report::ReportStyle style{.source_name = name, .first_line = 0, .colour = colour};
    for (;;) {
      auto line = lines.next();
      if (!line) return line.error();
      if (!*line) return 0;
      ++style.first_line;
      auto parsed = parse_as(invocation.kind, **line, style);
      if (!parsed) {
        io.report(parsed.error().message);
        status = ExitStatus::rejected;
      }
    }
  });
  return worse(status, read);
}

}  // namespace tolva::cli
