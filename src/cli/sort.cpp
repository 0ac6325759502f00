#include <algorithm>
#include <array>
#include <bit>
#include <compare>
#include <cstdint>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "commands.hpp"
#include "inputs.hpp"
#include "kind.hpp"
#include "lines.hpp"
#include "tolva/values/order_key.hpp"

namespace tolva::cli {
namespace {

// One accepted line: its value, and the line itself as it was read, which
// lies in the held input.
struct Entry {
  Version value;
  std::string_view line;
};

// The first sixteen bytes of a version's order key, as two big-endian numbers
// so that two comparisons order them. Equal prefixes leave the order open only
// when both keys go on past them.
struct KeyPrefix {
  std::uint64_t high = 0;
  std::uint64_t low = 0;
  bool cut = false;  // the key is longer than the sixteen bytes

  friend std::strong_ordering operator<=>(const KeyPrefix&, const KeyPrefix&) = default;
};

std::uint64_t big_endian(const std::uint8_t* bytes) noexcept {
  std::uint64_t n;
  std::memcpy(&n, bytes, sizeof n);
  if constexpr (std::endian::native == std::endian::little) n = std::byteswap(n);
  return n;
}

KeyPrefix key_prefix(const Version& v) noexcept {
  std::array<std::uint8_t, 16> bytes;
  const bool whole = write_order_key_prefix(bytes, v);
  return KeyPrefix{big_endian(bytes.data()), big_endian(bytes.data() + 8), !whole};
}

// What the sort moves about: small, and mostly ordered by the prefix alone,
// while the values stay where they were made.
struct Handle {
  KeyPrefix prefix;
  std::size_t index;  // into the entries, which are in input order
};

// Whether the versions of two handles are equal, looking at the values only
// when the prefixes cannot tell.
bool same_version(const Handle& a, const Handle& b, const std::vector<Entry>& entries) noexcept {
  if (a.prefix != b.prefix) return false;
  if (!a.prefix.cut) return true;
  return entries[a.index].value == entries[b.index].value;
}

// Orders handles by version, equal versions in input order.
template <bool reverse>
void sort_handles(std::vector<Handle>& handles, const std::vector<Entry>& entries) {
  std::sort(handles.begin(), handles.end(), [&](const Handle& a, const Handle& b) {
    std::weak_ordering order = a.prefix <=> b.prefix;
    if (order == 0 && a.prefix.cut) {
      order = entries[a.index].value <=> entries[b.index].value;
    }
    if (order != 0) return reverse ? order > 0 : order < 0;
    return a.index < b.index;
  });
}

std::size_t count_lines(std::string_view data) noexcept {
  std::size_t feeds = static_cast<std::size_t>(std::count(data.begin(), data.end(), '\n'));
  return feeds + (!data.empty() && data.back() != '\n' ? 1 : 0);
}

// The inputs, held whole, with the names their reports show.
struct HeldInputs {
  std::deque<std::string> data;  // a deque never moves its strings, so views stay valid
  std::vector<std::string> names;
};

// Parses every line, reporting the rejected ones; the accepted lines become
// entries, in input order.
ExitStatus parse_lines(const HeldInputs& inputs, const Invocation& invocation, bool colour,
                       Streams& io, std::vector<Entry>& entries) {
  std::size_t lines = 0;
  for (const std::string& data : inputs.data) lines += count_lines(data);
  entries.reserve(lines);
  ExitStatus status = ExitStatus::ok;
  for (std::size_t i = 0; i < inputs.data.size(); ++i) {
    report::ReportStyle style{.source_name = inputs.names[i], .first_line = 0, .colour = colour};
    for (std::string_view rest = inputs.data[i]; !rest.empty();) {
      std::string_view line = take_line(rest);
      ++style.first_line;
      auto parsed = parse_as(invocation.kind, line, style);
      if (parsed) {
        entries.push_back(Entry{std::move(*parsed), line});
      } else {
        io.report(parsed.error().message);
        status = ExitStatus::rejected;
      }
    }
  }
  return status;
}

std::vector<Handle> sorted_handles(const std::vector<Entry>& entries, bool reverse) {
  std::vector<Handle> handles;
  handles.reserve(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    handles.push_back(Handle{key_prefix(entries[i].value), i});
  }
  if (reverse) {
    sort_handles<true>(handles, entries);
  } else {
    sort_handles<false>(handles, entries);
  }
  return handles;
}

}  // namespace

// Each accepted line costs one Entry and one Handle besides its bytes in the
// held input: the value, and where its line lies, so that lines are written
// exactly as they were read.
ExitStatus run_sort(const Invocation& invocation, bool colour, Streams& io) {
  HeldInputs inputs;
  ExitStatus status = for_each_input(invocation.operands, io, [&](int fd, std::string_view name) {
    auto data = read_all(fd);
    if (!data) return data.error();
    inputs.data.push_back(std::move(*data));
    inputs.names.emplace_back(name);
    return 0;
  });
  std::vector<Entry> entries;
  status = worse(status, parse_lines(inputs, invocation, colour, io, entries));

  const Handle* previous = nullptr;
  for (const Handle& handle : sorted_handles(entries, invocation.reverse)) {
    if (invocation.unique && previous != nullptr && same_version(*previous, handle, entries)) {
      continue;
    }
    previous = &handle;
    io.out.buffer().append(entries[handle.index].line).push_back('\n');
    io.out.write_if_full();
  }
  return status;
}

}  // namespace tolva::cli
