#include <cstddef>
#include <string>
#include <string_view>

#include "commands.hpp"
#include "json.hpp"
#include "kind.hpp"
#include "rejection.hpp"
#include "tolva/parse.hpp"

namespace tolva::cli {
namespace {

// {"input": ..., then the value's members, or "error": {...}}: the error is
// output here, so nothing goes to standard error.
bool append_json_line(std::string& out, KindChoice kind, std::string_view text) {
  auto read = read_as(kind, text);
  out.append("{\"input\":");
  append_json_string(out, text);
  out.push_back(',');
  if (read) {
    append_json_fields(out, *read);
  } else {
    out.append("\"error\":{");
    append_json_error_fields(out, read.error(), text);
    out.push_back('}');
  }
  out.append("}\n");
  return read.has_value();
}

}  // namespace

ExitStatus run_parse(const Invocation& invocation, bool colour, Streams& io) {
  ExitStatus status = ExitStatus::ok;
  for (std::size_t i = 0; i < invocation.operands.size(); ++i) {
    const std::string_view text = invocation.operands[i];
    // Reports name the text by its place, as compare's do.
    const std::string name = "argument " + std::to_string(i + 1);
    const report::ReportStyle style{.source_name = name, .first_line = 1, .colour = colour};
    std::string& out = io.out.buffer();
    if (invocation.json) {
      if (!append_json_line(out, invocation.kind, text)) status = ExitStatus::rejected;
    } else if (auto parsed = read_as(invocation.kind, text)) {
      append_debug_form_as(out, invocation.kind, *parsed);
      out.push_back('\n');
    } else {
      io.report(explain(parsed.error(), text, style));
      status = ExitStatus::rejected;
    }
    io.out.write_if_full();
  }
  return status;
}

}  // namespace tolva::cli
