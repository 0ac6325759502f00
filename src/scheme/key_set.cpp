#include "tolva/scheme/key_set.hpp"

#include <algorithm>
#include <compare>

namespace tolva {
namespace {

using End = KeySet::End;
using Interval = KeySet::Interval;

// Where an end cuts the line of keys: just before its key or just after it,
// or at either infinity. Every end is a cut, and cuts are totally ordered,
// which makes each interval [low cut, high cut) and every operation a merge.
struct Cut {
  int infinity = 0;  // -1 below every key, 1 above every key, 0 at `end`
  const End* end = nullptr;
  bool after = false;

  friend std::strong_ordering operator<=>(const Cut& a, const Cut& b) noexcept {
    if (a.infinity != b.infinity || a.infinity != 0) return a.infinity <=> b.infinity;
    if (auto order = a.end->point.key.compare(b.end->point.key) <=> 0; order != 0) return order;
    return a.after <=> b.after;
  }
  friend bool operator==(const Cut& a, const Cut& b) noexcept { return (a <=> b) == 0; }
};

Cut low_cut(const Interval& i) noexcept {
  if (!i.low) return {-1};
  return {0, &*i.low, !i.low->closed};
}
Cut high_cut(const Interval& i) noexcept {
  if (!i.high) return {1};
  return {0, &*i.high, i.high->closed};
}
// The end a cut makes as the low or high end of an interval.
std::optional<End> as_low(const Cut& c) {
  if (c.infinity != 0) return std::nullopt;
  return End{c.end->point, !c.after};
}
std::optional<End> as_high(const Cut& c) {
  if (c.infinity != 0) return std::nullopt;
  return End{c.end->point, c.after};
}

}  // namespace

KeySet KeySet::everything() {
  KeySet s;
  s.intervals_.push_back({});
  return s;
}

KeySet KeySet::only(const KeyPoint& p) {
  KeySet s;
  s.intervals_.push_back({End{p, true}, End{p, true}});
  return s;
}

KeySet KeySet::at_least(const KeyPoint& p, bool closed) {
  KeySet s;
  s.intervals_.push_back({End{p, closed}, std::nullopt});
  return s;
}

KeySet KeySet::below(const KeyPoint& p, bool closed) {
  KeySet s;
  s.intervals_.push_back({std::nullopt, End{p, closed}});
  return s;
}

bool KeySet::is_everything() const noexcept {
  return intervals_.size() == 1 && !intervals_[0].low && !intervals_[0].high;
}

bool KeySet::contains(std::string_view key) const noexcept {
  // The first interval whose high end lies beyond the key.
  const auto at = std::ranges::partition_point(intervals_, [&](const Interval& i) {
    if (!i.high) return false;
    const auto order = key.compare(i.high->point.key) <=> 0;
    return order > 0 || (order == 0 && !i.high->closed);
  });
  if (at == intervals_.end() || !at->low) return at != intervals_.end();
  const auto order = key.compare(at->low->point.key) <=> 0;
  return order > 0 || (order == 0 && at->low->closed);
}

KeySet KeySet::complement() const {
  KeySet out;
  Cut from{-1};
  for (const Interval& i : intervals_) {
    const Cut low = low_cut(i);
    if (from < low) out.intervals_.push_back({as_low(from), as_high(low)});
    from = high_cut(i);
  }
  if (from < Cut{1}) out.intervals_.push_back({as_low(from), std::nullopt});
  return out;
}

KeySet KeySet::intersection(const KeySet& other) const {
  KeySet out;
  auto a = intervals_.begin();
  auto b = other.intervals_.begin();
  while (a != intervals_.end() && b != other.intervals_.end()) {
    const Cut low = std::max(low_cut(*a), low_cut(*b));
    const Cut high_a = high_cut(*a);
    const Cut high_b = high_cut(*b);
    const Cut high = std::min(high_a, high_b);
    if (low < high) out.intervals_.push_back({as_low(low), as_high(high)});
    if (high_a < high_b) {
      ++a;
    } else {
      ++b;
    }
  }
  return out;
}

KeySet KeySet::union_with(const KeySet& other) const {
  std::vector<const Interval*> all;
  all.reserve(intervals_.size() + other.intervals_.size());
  for (const Interval& i : intervals_) all.push_back(&i);
  for (const Interval& i : other.intervals_) all.push_back(&i);
  std::ranges::stable_sort(
      all, [](const Interval* x, const Interval* y) { return low_cut(*x) < low_cut(*y); });
  KeySet out;
  for (const Interval* i : all) {
    // Intervals that overlap or touch (one's high cut is the other's low cut)
    // become one.
    if (!out.intervals_.empty() && low_cut(*i) <= high_cut(out.intervals_.back())) {
      Interval& last = out.intervals_.back();
      if (high_cut(last) < high_cut(*i)) last.high = i->high;
    } else {
      out.intervals_.push_back(*i);
    }
  }
  return out;
}

bool KeySet::intersects(const KeySet& other) const { return !intersection(other).empty(); }

bool KeySet::subset(const KeySet& other) const { return intersection(other.complement()).empty(); }

bool operator==(const KeySet& a, const KeySet& b) noexcept {
  return std::ranges::equal(a.intervals_, b.intervals_, [](const Interval& x, const Interval& y) {
    return low_cut(x) == low_cut(y) && high_cut(x) == high_cut(y);
  });
}

}  // namespace tolva
