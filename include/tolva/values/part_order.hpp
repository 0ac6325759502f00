#pragma once

#include <compare>
#include <string_view>

#include "tolva/values/version.hpp"

// The part orders (PartOrder, with the lists in <tolva/values/text_list.hpp>)
// and each kind's compare(a, b, order), gathered.
namespace tolva {

// Two parts in `order`.
[[nodiscard]] std::strong_ordering compare_parts(std::string_view a, std::string_view b,
                                                 PartOrder order) noexcept;

}  // namespace tolva
