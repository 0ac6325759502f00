#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "commands.hpp"
#include "inputs.hpp"
#include "kind.hpp"
#include "lines.hpp"

namespace tolva::cli {
namespace {

// One accepted line: its value, and the line itself as it was read, which
// lies in the held input.
struct Entry {
  Version value;
  std::string_view line;
};

std::size_t count_lines(std::string_view data) noexcept {
  std::size_t feeds = static_cast<std::size_t>(std::count(data.begin(), data.end(), '\n'));
  return feeds + (!data.empty() && data.back() != '\n' ? 1 : 0);
}

}  // namespace

// The inputs are held whole and each accepted line adds one Entry, reserved
// in advance, so memory is the input plus one value per line.
ExitStatus run_sort(const Invocation& invocation, bool colour, Streams& io) {
  // A deque never moves its strings, so views into them stay valid.
  std::deque<std::string> inputs;
  std::vector<std::string_view> names;
  ExitStatus status = for_each_input(invocation.operands, io, [&](int fd, std::string_view name) {
    auto data = read_all(fd);
    if (!data) return data.error();
    inputs.push_back(std::move(*data));
    names.push_back(name);
    return 0;
  });

  std::size_t lines = 0;
  for (const std::string& data : inputs) lines += count_lines(data);
  std::vector<Entry> entries;
  entries.reserve(lines);
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    report::ReportStyle style{.source_name = names[i], .first_line = 0, .colour = colour};
    for (std::string_view rest = inputs[i]; !rest.empty();) {
      std::string_view line = take_line(rest);
      ++style.first_line;
      auto parsed = parse_as(invocation.kind, line, style);
      if (parsed) {
        entries.push_back(Entry{std::move(*parsed), line});
      } else {
        io.report(parsed.error().message);
        status = worse(status, ExitStatus::rejected);
      }
    }
  }

  // Equal versions keep their input order in both directions.
  if (invocation.reverse) {
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return b.value < a.value; });
  } else {
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.value < b.value; });
  }

  const Entry* previous = nullptr;
  for (const Entry& entry : entries) {
    if (invocation.unique && previous != nullptr && previous->value == entry.value) continue;
    previous = &entry;
    io.out.buffer().append(entry.line).push_back('\n');
    io.out.write_if_full();
  }
  return status;
}

}  // namespace tolva::cli
