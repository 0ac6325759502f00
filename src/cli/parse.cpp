#include "commands.hpp"
#include "json.hpp"
#include "kind.hpp"

namespace tolva::cli {

ExitStatus run_parse(const Invocation& invocation, bool colour, Streams& io) {
  report::ReportStyle style{.source_name = {}, .first_line = 1, .colour = colour};
  ExitStatus status = ExitStatus::ok;
  for (std::string_view text : invocation.operands) {
    auto parsed = parse_as(invocation.kind, text, style);
    if (!parsed) {
      io.report(parsed.error().message);
      status = ExitStatus::rejected;
      continue;
    }
    std::string& out = io.out.buffer();
    if (invocation.json) {
      append_json(out, *parsed);
    } else {
      append_debug_form_as(out, invocation.kind, *parsed);
    }
    out.push_back('\n');
    io.out.write_if_full();
  }
  return status;
}

}  // namespace tolva::cli
