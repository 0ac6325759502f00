#include "tolva/values/range_keys.hpp"

#include <algorithm>

#include "order_key_writer.hpp"
#include "tolva/values/order_key.hpp"

namespace tolva {
namespace {

using values_detail::absent_rc;
using values_detail::long_number;
using values_detail::semver_rank;

// A SemVer's key begins with its rank and its three numbers, each of which
// is prefix-free: that beginning is the same exactly when major.minor.patch
// is. Empty for a key of another kind.
std::string_view release_of(std::string_view key) noexcept {
  if (key.empty() || static_cast<std::uint8_t>(key[0]) != semver_rank) return {};
  std::size_t at = 1;
  for (int number = 0; number < 3; ++number) {
    const auto first = static_cast<std::uint8_t>(key[at]);
    at += first < long_number ? 1 : 1 + (first - long_number);
  }
  return key.substr(0, at);
}

// An rc follows the numbers unless the absent rc's byte does; a present rc
// with no parts leaves nothing after them.
bool is_prerelease(std::string_view key) noexcept {
  const std::size_t release = release_of(key).size();
  return release != 0 &&
         (key.size() == release || static_cast<std::uint8_t>(key[release]) != absent_rc);
}

// The rank byte first: keys of one kind only are compared.
bool same_kind(std::string_view a, std::string_view b) noexcept { return a[0] == b[0]; }

}  // namespace

KeyedRange::KeyedRange(const Range& range, const RangeOptions& options)
    : include_prerelease_(options.include_prerelease) {
  alternatives_.reserve(range.alternatives.size());
  for (const List<Comparator>& alternative : range.alternatives) {
    std::vector<Test>& tests = alternatives_.emplace_back();
    tests.reserve(alternative.size());
    for (const Comparator& c : alternative) {
      tests.push_back(Test{c.op, order_key(c.operand, options.parts),
                           c.op == RangeOp::outside ? order_key(c.upper, options.parts) : "",
                           c.names_prerelease});
    }
  }
}

bool KeyedRange::contains(std::string_view key) const noexcept {
  auto satisfies = [&](const Test& t) {
    if (!same_kind(key, t.operand)) return false;
    const int order = key.compare(t.operand);
    switch (t.op) {
      case RangeOp::less: return order < 0;
      case RangeOp::less_equal: return order <= 0;
      case RangeOp::greater: return order > 0;
      case RangeOp::greater_equal: return order >= 0;
      case RangeOp::equal: return order == 0;
      case RangeOp::not_equal: return order != 0;
      case RangeOp::outside: break;
    }
    return same_kind(key, t.upper) && (order < 0 || key.compare(t.upper) >= 0);
  };
  const bool held_back = !include_prerelease_ && is_prerelease(key);
  const std::string_view release = held_back ? release_of(key) : std::string_view();
  return std::ranges::any_of(alternatives_, [&](const std::vector<Test>& tests) {
    return std::ranges::all_of(tests, satisfies) &&
           (!held_back || std::ranges::any_of(tests, [&](const Test& t) {
             return t.names_prerelease && release_of(t.operand) == release;
           }));
  });
}

}  // namespace tolva
