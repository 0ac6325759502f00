#pragma once

#include <compare>
#include <cstddef>

#include "tolva/values/text_list.hpp"

namespace tolva::values::detail {

// Element by element, texts by unsigned bytes; a proper prefix sorts first.
// (std::lexicographical_compare_three_way, which libc++ 16 lacks.)
inline std::strong_ordering compare_lists(TextSpan a, TextSpan b) noexcept {
  const std::size_t common = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < common; ++i) {
    if (const std::strong_ordering order = a[i] <=> b[i]; order != 0) return order;
  }
  return a.size() <=> b.size();
}

}  // namespace tolva::values::detail
