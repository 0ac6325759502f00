#include "commands.hpp"
#include "inputs.hpp"
#include "kind.hpp"
#include "lines.hpp"
#include "tolva/report/parsers.hpp"

namespace tolva::cli {
namespace {

// Only acceptance and the report count here, so no value is built.
std::expected<void, Error> check_as(Kind kind, std::string_view text,
                                    const report::ReportStyle& style) {
  switch (kind) {
    case Kind::semver: return check_semver(text, style);
    case Kind::dot_separated: return check_dot_separated(text, style);
    case Kind::other: return check_other(text, style);
    case Kind::version: break;
  }
  return check_version(text, style);
}

}  // namespace

ExitStatus run_check(const Invocation& invocation, bool colour, Streams& io) {
  ExitStatus status = ExitStatus::ok;
  ExitStatus read = for_each_input(invocation.operands, io, [&](int fd, std::string_view name) {
    LineReader lines(fd);
    report::ReportStyle style{.source_name = name, .first_line = 0, .colour = colour};
    for (;;) {
      auto line = lines.next();
      if (!line) return line.error();
      if (!*line) return 0;
      ++style.first_line;
      auto checked = check_as(invocation.kind, **line, style);
      if (!checked) {
        io.report(checked.error().message);
        status = ExitStatus::rejected;
      }
    }
  });
  return worse(status, read);
}

}  // namespace tolva::cli
