#include "commands.hpp"
#include "json.hpp"
#include "range_operand.hpp"
#include "usage_error.hpp"

namespace tolva::cli {

ExitStatus run_vers(const Invocation& invocation, Streams& io) {
  const std::string_view text = invocation.operands.front();
  if (invocation.strict && !is_vers(text)) {
    return usage_error(io, "--strict checks a vers text (vers:TYPE/...)", invocation.command);
  }
  auto range = read_range_operand(text, invocation);
  if (!range) return range_trouble(io, invocation, range.error());
  auto canonical = vers_constraints(*range);
  if (!canonical) return range_trouble(io, invocation, canonical.error());
  if (!invocation.json) {
    io.out.write(vers_string(*canonical));
    io.out.write("\n");
    return ExitStatus::ok;
  }
  std::string out = "{\"scheme\":";
  append_json_string(out, canonical->type);
  out += ",\"version_constraints\":[";
  for (std::size_t i = 0; i < canonical->constraints.size(); ++i) {
    if (i > 0) out += ',';
    out += '[';
    append_json_string(out, canonical->constraints[i].op);
    out += ',';
    append_json_string(out, canonical->constraints[i].version);
    out += ']';
  }
  out += "]}\n";
  io.out.write(out);
  return ExitStatus::ok;
}

}  // namespace tolva::cli
