#include <span>

#include "commands.hpp"
#include "inputs.hpp"
#include "line_order.hpp"
#include "lines.hpp"
#include "rejection.hpp"
#include "text/decimal.hpp"
#include "usage_error.hpp"

namespace tolva::cli {
namespace {

// Tells of a rejected line as the options ask: a full or a short report on
// standard error, or JSON on standard output, which names the file by its
// name itself (`path`), as a script would open it.
void tell(const Invocation& invocation, bool colour, Streams& io, const Rejection& rejected,
          std::string_view path) {
  if (invocation.json) {
    append_json(io.out.buffer(), Rejection{path, rejected.line, rejected.text, rejected.error});
    io.out.write_if_full();
  } else if (invocation.format == ReportFormat::short_line) {
    std::string line;
    append_short(line, rejected);
    io.report(line);
  } else {
    io.report(full_report(rejected, colour));
  }
}

void write_count(Streams& io, std::string_view prefix, std::size_t accepted, std::size_t rejected) {
  std::string& out = io.out.buffer();
  out.append(prefix);
  append_decimal(out, accepted);
  out.append(" accepted, ");
  append_decimal(out, rejected);
  out.append(" rejected\n");
  io.out.write_if_full();
}

}  // namespace

ExitStatus run_check(const Invocation& invocation, bool colour, Streams& io) {
  const bool quiet = invocation.quiet;
  if (invocation.count && invocation.json && !quiet) {
    return usage_error(io, "--count and --json would share standard output; give one",
                       Command::check);
  }
  const bool named = invocation.operands.size() > 1;
  const LineOrder order(invocation);
  ExitStatus status = ExitStatus::ok;
  bool stopped = false;  // quiet: a line was rejected, so the answer is known
  std::string_view path = standard_input_name;  // of the input being read
  auto check_input = [&](int fd, std::string_view name) {
    LineReader lines(fd, invocation.zero_terminated ? '\0' : '\n');
    std::size_t number = 0;
    std::size_t rejected = 0;
    for (;;) {
      auto line = lines.next();
      if (!line) return line.error();
      if (!*line) break;
      ++number;
      auto checked = order.check(**line);
      if (checked) continue;
      ++rejected;
      status = ExitStatus::rejected;
      if (quiet) {
        stopped = true;
        return std::error_code();
      }
      tell(invocation, colour, io, Rejection{name, number, **line, checked.error()}, path);
    }
    if (invocation.count && !quiet) {
      write_count(io, named ? std::string(name) + ": " : std::string(), number - rejected,
                  rejected);
    }
    return std::error_code();
  };
  // One input at a time, so that a quiet check opens nothing past its answer.
  std::span<const std::string_view> operands = invocation.operands;
  ExitStatus read = ExitStatus::ok;
  if (operands.empty()) read = for_each_input({}, io, check_input);
  for (std::size_t i = 0; i < operands.size() && !stopped; ++i) {
    path = operands[i] == "-" ? standard_input_name : operands[i];
    read = worse(read, for_each_input(operands.subspan(i, 1), io, check_input));
  }
  return worse(status, read);
}

}  // namespace tolva::cli
