#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// A set of versions as intervals over their order keys: what a range is once
// its comparators are taken apart, so that ranges can be joined, met,
// complemented and compared exactly.
//
//   auto a = tolva::KeySet::at_least({key("1.0"), "1.0"}, true);
//   auto b = tolva::KeySet::below({key("2.0"), "2.0"}, false);
//   a.intersection(b).contains(key("1.5"));   // true
namespace tolva {

// A version at an end of an interval: its order key, and a text that reads as
// it (the one a range was written with), so that the set can be written back.
struct KeyPoint {
  std::string key;
  std::string text;
};

class KeySet {
 public:
  // An end; absent: unbounded.
  struct End {
    KeyPoint point;
    bool closed = false;
  };
  struct Interval {
    std::optional<End> low;
    std::optional<End> high;
  };

  // The empty set.
  KeySet() = default;
  static KeySet everything();
  static KeySet only(const KeyPoint& p);
  static KeySet at_least(const KeyPoint& p, bool closed);  // >= p (closed) or > p
  static KeySet below(const KeyPoint& p, bool closed);     // <= p (closed) or < p

  [[nodiscard]] bool contains(std::string_view key) const noexcept;
  [[nodiscard]] bool empty() const noexcept { return intervals_.empty(); }
  [[nodiscard]] bool is_everything() const noexcept;

  [[nodiscard]] KeySet complement() const;
  [[nodiscard]] KeySet intersection(const KeySet& other) const;
  [[nodiscard]] KeySet union_with(const KeySet& other) const;
  [[nodiscard]] bool intersects(const KeySet& other) const;
  [[nodiscard]] bool subset(const KeySet& other) const;

  // In order, disjoint, and no two of them join into one: between two there
  // is at least one key outside the set.
  [[nodiscard]] std::span<const Interval> intervals() const noexcept { return intervals_; }

  // The same keys (the texts may differ).
  friend bool operator==(const KeySet& a, const KeySet& b) noexcept;

 private:
  std::vector<Interval> intervals_;
};

}  // namespace tolva
