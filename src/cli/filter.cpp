#include "commands.hpp"
#include "inputs.hpp"
#include "kind.hpp"
#include "lines.hpp"
#include "range_option.hpp"
#include "rejection.hpp"
#include "tolva/values/range_keys.hpp"

namespace tolva::cli {

// Line by line as it arrives: memory holds the longest line and its key.
ExitStatus run_filter(const Invocation& invocation, bool colour, Streams& io) {
  const std::optional<Range> read_range = read_range_option(invocation, colour, io);
  if (!read_range) return ExitStatus::trouble;
  const RangeOptions options = range_options(invocation);
  const KeyedRange range(*read_range, options);
  ExitStatus status = ExitStatus::ok;
  std::string key;
  ExitStatus read = for_each_input(invocation.operands, io, [&](int fd, std::string_view name) {
    LineReader lines(fd);
    for (std::size_t number = 1;; ++number) {
      auto line = lines.next();
      if (!line) return line.error();
      if (!*line) return 0;
      key.clear();
      auto made = append_key_as(key, invocation.kind, **line, options.parts);
      if (!made) {
        io.report(full_report(Rejection{name, number, **line, made.error()}, colour));
        status = ExitStatus::rejected;
      } else if (range.contains(key)) {
        io.out.write(**line);
        io.out.write("\n");
      }
    }
  });
  return worse(status, read);
}

}  // namespace tolva::cli
