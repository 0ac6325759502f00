#include <algorithm>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "commands.hpp"
#include "keyed_lines.hpp"
#include "range_operand.hpp"

namespace tolva::cli {
namespace {

// One kept line: its order key, its text, and its place in the input.
struct Kept {
  std::string key;
  std::string line;
  std::uint64_t place;
};

// The best `limit` lines read so far, in a heap whose front is the worst of
// them, so memory follows the lines kept, never the lines read. Best is
// greatest for newest and least for oldest; of equal versions the first read
// is the better, so the result is the head of a stable sort. Kept unique,
// a line equal to one kept is dropped: that one was read first.
class Best {
  // Above zero when the key `a` is of the better version.
  int rank(std::string_view a, std::string_view b) const noexcept {
    const int order = a.compare(b);
    return order > 0 ? sign_ : order < 0 ? -sign_ : 0;
  }

  auto better() const {
    return [this](const Kept& a, const Kept& b) {
      int r = rank(a.key, b.key);
      return r > 0 || (r == 0 && a.place < b.place);
    };
  }

 public:
  Best(std::size_t limit, bool greatest, bool unique)
      : limit_(limit), sign_(greatest ? 1 : -1), unique_(unique) {}

  // Offers a line with its key, which is taken from `key` when the line is
  // kept.
  void offer(std::string& key, std::string_view line, std::uint64_t place) {
    if (kept_.size() < limit_) {
      if (unique_ && !kept_keys_.insert(key).second) return;
      kept_.push_back(Kept{std::exchange(key, {}), std::string(line), place});
      std::push_heap(kept_.begin(), kept_.end(), better());
    } else if (limit_ > 0 && rank(key, kept_.front().key) > 0) {
      // Being read later, the new line beats the worst kept only by its
      // version. A line equal to one pushed out earlier never gets here:
      // what pushed it out was better, and so is all that is kept since.
      if (unique_ && !kept_keys_.insert(key).second) return;
      std::pop_heap(kept_.begin(), kept_.end(), better());
      Kept& slot = kept_.back();
      if (unique_) kept_keys_.erase(slot.key);
      slot.key.swap(key);
      slot.line.assign(line);
      slot.place = place;
      std::push_heap(kept_.begin(), kept_.end(), better());
    }
  }

  // What a line's key must pass to be kept, once `limit` lines are: the
  // worst of them, which a line equal to it does not beat either.
  const key_bytes::Bar* bar() noexcept {
    if (kept_.size() < limit_ || limit_ == 0) return nullptr;
    bar_ = {kept_.front().key, sign_};
    return &bar_;
  }

  // The kept lines, best first.
  const std::vector<Kept>& sorted() {
    std::sort_heap(kept_.begin(), kept_.end(), better());
    return kept_;
  }

 private:
  std::size_t limit_;
  int sign_;
  bool unique_;
  std::vector<Kept> kept_;  // grows by the lines kept: a limit may be far above the input
  std::set<std::string, std::less<>> kept_keys_;  // the keys of `kept_`, when unique
  key_bytes::Bar bar_;
};

}  // namespace

ExitStatus run_extremes(const Invocation& given, bool colour, Streams& io) {
  const Invocation invocation = with_range_scheme(given);
  std::optional<LineRange> range;
  if (invocation.range) {
    range = read_line_range(invocation, colour, io);
    if (!range) return ExitStatus::trouble;
  }
  const LineOrder order(invocation);
  Best best(invocation.lines, invocation.command == Command::newest, invocation.unique);
  ExitStatus status = ExitStatus::ok;
  std::uint64_t place = 0;
  ExitStatus read = for_each_keyed_line(
      invocation, order, colour, io, status,
      [&](std::string& key, KeyFacts facts, std::string_view line) {
        if (!range || range->contains(key, facts)) best.offer(key, line, place++);
      },
      [&best] { return best.bar(); });
  order.tell_of_mixed_kinds(io);
  for (const Kept& kept : best.sorted()) {
    io.out.write(kept.line);
    io.out.write(line_end(invocation));
  }
  return worse(status, read);
}

}  // namespace tolva::cli
