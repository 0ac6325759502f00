#include <string>
#include <vector>

#include "commands.hpp"
#include "keyed_lines.hpp"

namespace tolva::cli {

// Line by line as it arrives: memory holds the longest line and its key.
// Under a range that keeps pre-releases when it holds nothing else, the
// pre-releases it holds back are kept too until a line is written, and
// written at the end if none was.
ExitStatus run_filter(const Invocation& invocation, bool colour, Streams& io) {
  const std::optional<KeyRange> range = read_line_range(invocation, colour, io);
  if (!range) return ExitStatus::trouble;
  const LineOrder order(invocation);
  ExitStatus status = ExitStatus::ok;
  bool written = false;
  std::vector<std::string> held;
  ExitStatus read =
      for_each_keyed_line(invocation, order, colour, io, status,
                          [&](std::string& key, KeyFacts facts, std::string_view line) {
                            if (!range->contains(key, facts)) {
                              if (range->prereleases_when_alone && !written && facts.prerelease &&
                                  range->contains(key, KeyFacts{})) {
                                held.emplace_back(line);
                              }
                              return;
                            }
                            written = true;
                            held.clear();
                            io.out.write(line);
                            io.out.write(line_end(invocation));
                          });
  for (const std::string& line : held) {
    io.out.write(line);
    io.out.write("\n");
  }
  order.tell_of_mixed_kinds(io);
  return worse(status, read);
}

}  // namespace tolva::cli
