#include "commands.hpp"
#include "keyed_lines.hpp"

namespace tolva::cli {

// Line by line as it arrives: memory holds the longest line and its key.
ExitStatus run_filter(const Invocation& invocation, bool colour, Streams& io) {
  const std::optional<KeyRange> range = read_line_range(invocation, colour, io);
  if (!range) return ExitStatus::trouble;
  const LineOrder order(invocation);
  ExitStatus status = ExitStatus::ok;
  ExitStatus read =
      for_each_keyed_line(invocation, order, colour, io, status,
                          [&](std::string& key, KeyFacts facts, std::string_view line) {
                            if (!range->contains(key, facts)) return;
                            io.out.write(line);
                            io.out.write("\n");
                          });
  order.tell_of_mixed_kinds(io);
  return worse(status, read);
}

}  // namespace tolva::cli
