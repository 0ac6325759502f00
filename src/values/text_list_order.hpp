#pragma once

#include <compare>
#include <cstddef>

#include "tolva/values/part_order.hpp"
#include "tolva/values/text_list.hpp"

namespace tolva::values::detail {

// Element by element, each pair of parts in `order`; a proper prefix sorts
// first. (std::lexicographical_compare_three_way, which libc++ 16 lacks.)
inline std::strong_ordering compare_lists(TextSpan a, TextSpan b, PartOrder order) noexcept {
  const std::size_t common = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < common; ++i) {
    const std::strong_ordering by_part =
        order == PartOrder::text ? a[i] <=> b[i] : compare_parts(a[i], b[i], order);
    if (by_part != 0) return by_part;
  }
  return a.size() <=> b.size();
}

}  // namespace tolva::values::detail
