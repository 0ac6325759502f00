#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "commands.hpp"
#include "inputs.hpp"
#include "lines.hpp"
#include "range_option.hpp"
#include "reading.hpp"
#include "rejection.hpp"
#include "tolva/values/part_order.hpp"

namespace tolva::cli {
namespace {

// One kept line: its value, its text, and its place in the input.
struct Kept {
  Version value;
  std::string line;
  std::uint64_t place;
};

// The best `limit` lines read so far, in a heap whose front is the worst of
// them, so memory follows the lines kept, never the lines read. Best is
// greatest for newest and least for oldest; of equal versions the first read
// is the better, so the result is the head of a stable sort.
class Best {
  // Above zero when `a` is the better version.
  int rank(const Version& a, const Version& b) const {
    std::weak_ordering order = compare(a, b, parts_);
    return order > 0 ? sign_ : order < 0 ? -sign_ : 0;
  }

  auto better() const {
    return [this](const Kept& a, const Kept& b) {
      int r = rank(a.value, b.value);
      return r > 0 || (r == 0 && a.place < b.place);
    };
  }

 public:
  Best(std::size_t limit, PartOrder parts, bool greatest)
      : limit_(limit), parts_(parts), sign_(greatest ? 1 : -1) {}

  void offer(Version&& value, std::string_view line, std::uint64_t place) {
    if (kept_.size() < limit_) {
      kept_.push_back(Kept{std::move(value), std::string(line), place});
      std::push_heap(kept_.begin(), kept_.end(), better());
    } else if (limit_ > 0 && rank(value, kept_.front().value) > 0) {
      // Being read later, the new line beats the worst kept only by its version.
      std::pop_heap(kept_.begin(), kept_.end(), better());
      Kept& slot = kept_.back();
      slot.value = std::move(value);
      slot.line.assign(line);
      slot.place = place;
      std::push_heap(kept_.begin(), kept_.end(), better());
    }
  }

  // The kept lines, best first.
  const std::vector<Kept>& sorted() {
    std::sort_heap(kept_.begin(), kept_.end(), better());
    return kept_;
  }

 private:
  std::size_t limit_;
  PartOrder parts_;
  int sign_;
  std::vector<Kept> kept_;  // grows by the lines kept: a limit may be far above the input
};

}  // namespace

ExitStatus run_extremes(const Invocation& invocation, bool colour, Streams& io) {
  std::optional<Range> range;
  if (invocation.range) {
    range = read_range_option(invocation, colour, io);
    if (!range) return ExitStatus::trouble;
  }
  const RangeOptions options = range_options(invocation);
  Best best(invocation.lines, options.parts, invocation.command == Command::newest);
  ExitStatus status = ExitStatus::ok;
  std::uint64_t place = 0;
  ExitStatus read = for_each_input(invocation.operands, io, [&](int fd, std::string_view name) {
    LineReader lines(fd);
    for (std::size_t number = 1;; ++number) {
      auto line = lines.next();
      if (!line) return line.error();
      if (!*line) return 0;
      auto value = read_as(invocation.kind, **line);
      if (!value) {
        io.report(full_report(Rejection{name, number, **line, value.error()}, colour));
        status = ExitStatus::rejected;
      } else if (!range || contains(*range, *value, options)) {
        best.offer(std::move(*value), **line, place++);
      }
    }
  });
  for (const Kept& kept : best.sorted()) {
    io.out.buffer().append(kept.line).push_back('\n');
    io.out.write_if_full();
  }
  return worse(status, read);
}

}  // namespace tolva::cli
