#include <cstddef>
#include <string>
#include <string_view>

#include "commands.hpp"
#include "json.hpp"
#include "kind.hpp"
#include "rejection.hpp"
#include "scheme_forms.hpp"
#include "tolva/parse.hpp"

namespace tolva::cli {
namespace {

// {"input": ..., then the value's members, or "error": {...}}: the error is
// output here, so nothing goes to standard error.
bool append_json_line(std::string& out, const Invocation& invocation, std::string_view text) {
  out.append("{\"input\":");
  append_json_string(out, text);
  out.push_back(',');
  std::expected<void, ParseError> read;
  if (invocation.scheme == Scheme::tolva) {
    auto value = read_as(invocation.kind, text);
    if (value) {
      append_json_fields(out, *value);
    } else {
      read = std::unexpected(std::move(value.error()));
    }
  } else if (auto fields = scheme::fields(text, invocation.scheme)) {
    append_scheme_json_fields(out, invocation.scheme, *fields);
  } else {
    read = std::unexpected(std::move(fields.error()));
  }
  if (!read) {
    out.append("\"error\":{");
    append_json_error_fields(out, read.error(), text);
    out.push_back('}');
  }
  out.append("}\n");
  return read.has_value();
}

// The parts of a text under a scheme other than tolva's, or its report.
bool append_scheme_form(std::string& out, const Invocation& invocation, std::string_view text,
                        const report::ReportStyle& style, Streams& io) {
  auto fields = scheme::fields(text, invocation.scheme);
  if (!fields) {
    io.report(explain(fields.error(), text, style));
    return false;
  }
  append_scheme_debug_form(out, invocation.scheme, *fields);
  out.push_back('\n');
  return true;
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
      if (!append_json_line(out, invocation, text)) status = ExitStatus::rejected;
    } else if (invocation.scheme != Scheme::tolva) {
      if (!append_scheme_form(out, invocation, text, style, io)) status = ExitStatus::rejected;
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
