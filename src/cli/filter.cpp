#include "commands.hpp"
#include "inputs.hpp"
#include "kind.hpp"
#include "lines.hpp"
#include "range_option.hpp"

namespace tolva::cli {

// Line by line as it arrives: memory holds the longest line and one value.
ExitStatus run_filter(const Invocation& invocation, bool colour, Streams& io) {
  const std::optional<Range> range = read_range_option(invocation, colour, io);
  if (!range) return ExitStatus::trouble;
  const RangeOptions options = range_options(invocation);
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
      } else if (contains(*range, *parsed, options)) {
        io.out.buffer().append(**line).push_back('\n');
        io.out.write_if_full();
      }
    }
  });
  return worse(status, read);
}

}  // namespace tolva::cli
