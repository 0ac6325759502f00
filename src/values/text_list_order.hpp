#pragma once

#include <algorithm>
#include <compare>

#include "tolva/values/text_list.hpp"

namespace tolva::values_detail {

// Element by element, texts by unsigned bytes; a proper prefix sorts first.
inline std::strong_ordering compare_lists(TextSpan a, TextSpan b) noexcept {
  return std::lexicographical_compare_three_way(a.begin(), a.end(), b.begin(), b.end());
}

}  // namespace tolva::values_detail
