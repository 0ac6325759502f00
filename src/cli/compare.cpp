#include <compare>
#include <optional>

#include "commands.hpp"
#include "kind.hpp"

namespace tolva::cli {

ExitStatus run_compare(const Invocation& invocation, bool colour, Streams& io) {
  // An empty source name makes the reports name the kind's type.
  report::ReportStyle style{.source_name = {}, .first_line = 1, .colour = colour};
  std::optional<Version> versions[2];
  for (int i = 0; i < 2; ++i) {
    auto parsed = parse_as(invocation.kind, invocation.operands[i], style);
    if (parsed) {
      versions[i] = std::move(*parsed);
    } else {
      io.report(parsed.error().message);
    }
  }
  if (!versions[0] || !versions[1]) return ExitStatus::rejected;
  std::weak_ordering order = *versions[0] <=> *versions[1];
  io.out.write(order < 0 ? "<\n" : order > 0 ? ">\n" : "=\n");
  return ExitStatus::ok;
}

}  // namespace tolva::cli
