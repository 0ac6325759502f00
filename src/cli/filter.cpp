#include "commands.hpp"
#include "keyed_lines.hpp"
#include "range_option.hpp"
#include "tolva/values/range_keys.hpp"

namespace tolva::cli {

// Line by line as it arrives: memory holds the longest line and its key.
ExitStatus run_filter(const Invocation& invocation, bool colour, Streams& io) {
  const std::optional<Range> read_range = read_range_option(invocation, colour, io);
  if (!read_range) return ExitStatus::trouble;
  const RangeOptions options = range_options(invocation);
  const KeyedRange range(*read_range, options);
  ExitStatus status = ExitStatus::ok;
  ExitStatus read = for_each_keyed_line(invocation, options.parts, colour, io, status,
                                        [&](std::string& key, std::string_view line) {
                                          if (!range.contains(key)) return;
                                          io.out.write(line);
                                          io.out.write("\n");
                                        });
  return worse(status, read);
}

}  // namespace tolva::cli
