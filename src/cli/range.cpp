#include <algorithm>
#include <array>

#include "commands.hpp"
#include "inputs.hpp"
#include "lines.hpp"
#include "range_operand.hpp"
#include "usage_error.hpp"

namespace tolva::cli {
namespace {

struct Listed {
  TypedKey key;
  std::string text;
};

// The versions of the input lines under the range's type, in order, each
// once; a line that is no version of the type is reported.
ExitStatus read_versions(const Invocation& invocation, std::span<const std::string_view> files,
                         const VersType& type, Streams& io, std::vector<Listed>& out) {
  ExitStatus status = ExitStatus::ok;
  const ExitStatus read = for_each_line(
      files, '\n', io, [&](std::string_view name, std::size_t number, std::string_view line) {
        auto key = typed_key(line, type);
        if (!key) {
          status = line_trouble(io, invocation, name, number, key.error());
        } else {
          out.push_back({std::move(*key), std::string(line)});
        }
      });
  std::ranges::stable_sort(out, {},
                           [](const Listed& l) -> const std::string& { return l.key.key; });
  const auto repeated =
      std::ranges::unique(out, {}, [](const Listed& l) -> const std::string& { return l.key.key; });
  out.erase(repeated.begin(), repeated.end());
  return worse(status, read);
}

// The range of runs of kept versions, each run from its first version to its
// last, open-ended at either end of the list; a run of one version is that
// version.
VersionRange runs_of(const std::vector<Listed>& list, const std::vector<bool>& kept,
                     const VersType& type) {
  KeySet set;
  for (std::size_t i = 0; i < list.size();) {
    if (!kept[i]) {
      ++i;
      continue;
    }
    std::size_t j = i;
    while (j + 1 < list.size() && kept[j + 1]) ++j;
    KeySet run = KeySet::everything();
    const KeyPoint first{list[i].key.key, list[i].text};
    const KeyPoint last{list[j].key.key, list[j].text};
    if (i == j && list.size() > 1) {
      run = KeySet::only(first);
    } else {
      if (i > 0) run = run.intersection(KeySet::at_least(first, true));
      if (j + 1 < list.size()) run = run.intersection(KeySet::below(last, true));
    }
    set = set.union_with(run);
    i = j + 1;
  }
  return VersionRange(type, set);
}

// The shortest of the range as given (in its own syntax, when that is what
// is asked for), its canonical form, and the runs of the versions it keeps.
ExitStatus simplify(const Invocation& invocation, std::string_view given, const VersionRange& range,
                    std::span<const std::string_view> files, Streams& io) {
  std::vector<Listed> list;
  const ExitStatus status = read_versions(invocation, files, range.type(), io, list);
  if (status == ExitStatus::trouble) return status;
  std::vector<bool> kept;
  for (const Listed& l : list) kept.push_back(range.contains(l.key));
  const auto write = [&](const VersionRange& r) {
    return invocation.native ? write_native(r) : write_vers(r);
  };
  auto best = write(range);
  if (invocation.native && !is_vers(given) && (!best || given.size() < best->size())) {
    best = std::string(given);
  }
  const VersionRange runs = runs_of(list, kept, range.type());
  bool same_versions = true;
  for (std::size_t i = 0; i < list.size(); ++i)
    same_versions &= runs.contains(list[i].key) == kept[i];
  if (same_versions) {
    auto shorter = write(runs);
    if (shorter && (!best || shorter->size() < best->size())) best = std::move(shorter);
  }
  if (!best) return range_trouble(io, invocation, best.error());
  io.out.write(*best);
  io.out.write("\n");
  return status;
}

}  // namespace

ExitStatus run_range(const Invocation& invocation, Streams& io) {
  const std::string_view what = invocation.operands.front();
  const auto ranges = std::span(invocation.operands).subspan(1);
  constexpr std::array<std::string_view, 6> questions{"intersects", "disjoint",     "subset",
                                                      "union",      "intersection", "simplify"};
  if (std::ranges::find(questions, what) == questions.end()) {
    std::string message = std::string("'").append(what);
    message.append("' is not one of intersects, disjoint, subset, union, intersection or simplify");
    return usage_error(io, message, invocation.command);
  }
  const bool pair = what == "intersects" || what == "disjoint" || what == "subset";
  if (pair && ranges.size() != 2) {
    std::string message = std::string("range ").append(what).append(" takes two ranges A B");
    return usage_error(io, message, invocation.command);
  }
  const std::size_t count = what == "simplify" ? 1 : ranges.size();
  std::vector<VersionRange> read;
  for (std::size_t i = 0; i < count; ++i) {
    auto r = read_range_operand(ranges[i], invocation, ranges.first(count));
    if (!r) return range_trouble(io, invocation, r.error());
    read.push_back(std::move(*r));
  }
  if (what == "simplify")
    return simplify(invocation, ranges[0], read.front(), ranges.subspan(1), io);
  if (pair) {
    auto answer = what == "subset" ? read[0].subset(read[1]) : read[0].intersects(read[1]);
    if (!answer) return range_trouble(io, invocation, answer.error());
    return *answer != (what == "disjoint") ? ExitStatus::ok : ExitStatus::rejected;
  }
  VersionRange result = read.front();
  for (std::size_t i = 1; i < read.size(); ++i) {
    auto next = what == "union" ? result.union_with(read[i]) : result.intersection(read[i]);
    if (!next) return range_trouble(io, invocation, next.error());
    result = std::move(*next);
  }
  auto text = invocation.native ? write_native(result) : write_vers(result);
  if (!text) return range_trouble(io, invocation, text.error());
  io.out.write(*text);
  io.out.write("\n");
  return ExitStatus::ok;
}

}  // namespace tolva::cli
