#include <string>
#include <vector>

#include "commands.hpp"
#include "inputs.hpp"
#include "keyed_lines.hpp"
#include "range_operand.hpp"

namespace tolva::cli {
namespace {

// A vers range of a type that is no scheme (lexicographic, intdot,
// datetime): each line keyed by the type itself.
ExitStatus filter_by_type(const Invocation& invocation, const VersionRange& range, Streams& io) {
  ExitStatus status = ExitStatus::ok;
  const ExitStatus read =
      for_each_line(invocation.operands, line_end(invocation).front(), io,
                    [&](std::string_view name, std::size_t number, std::string_view line) {
                      auto key = typed_key(line, range.type());
                      if (!key) {
                        status = line_trouble(io, invocation, name, number, key.error());
                      } else if (range.contains(*key)) {
                        io.out.write(line);
                        io.out.write(line_end(invocation));
                      }
                    });
  return worse(status, read);
}

}  // namespace

// Line by line as it arrives: memory holds the longest line and its key.
// Under a range that keeps pre-releases when it holds nothing else, the
// pre-releases it holds back are kept too until a line is written, and
// written at the end if none was.
ExitStatus run_filter(const Invocation& given, bool colour, Streams& io) {
  const Invocation invocation = with_range_scheme(given);
  if (is_vers(*invocation.range)) {
    auto vers = read_range_operand(*invocation.range, invocation);
    if (!vers) return range_trouble(io, invocation, vers.error());
    if (vers->type().family != VersType::Family::scheme) {
      return filter_by_type(invocation, *vers, io);
    }
  }
  const std::optional<LineRange> range = read_line_range(invocation, colour, io);
  if (!range) return ExitStatus::trouble;
  const LineOrder order(invocation);
  ExitStatus status = ExitStatus::ok;
  bool written = false;
  std::vector<std::string> held;
  ExitStatus read =
      for_each_keyed_line(invocation, order, colour, io, status,
                          [&](std::string& key, KeyFacts facts, std::string_view line) {
                            if (!range->contains(key, facts)) {
                              if (range->prereleases_when_alone() && !written && facts.prerelease &&
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
    io.out.write(line_end(invocation));
  }
  order.tell_of_mixed_kinds(io);
  return worse(status, read);
}

}  // namespace tolva::cli
