#include "tolva/values/part_order.hpp"

#include "part_number.hpp"

namespace tolva {

std::strong_ordering compare_parts(std::string_view a, std::string_view b,
                                   PartOrder order) noexcept {
  if (order == PartOrder::text) return a <=> b;
  const bool a_number = values_detail::is_number(a);
  const bool b_number = values_detail::is_number(b);
  if (a_number != b_number) return b_number <=> a_number;
  if (!a_number) return a <=> b;
  const std::string_view a_digits = values_detail::significant_digits(a);
  const std::string_view b_digits = values_detail::significant_digits(b);
  // Without leading zeros the longer number is the larger.
  if (a_digits.size() != b_digits.size()) return a_digits.size() <=> b_digits.size();
  if (const auto by_value = a_digits <=> b_digits; by_value != 0) return by_value;
  return a <=> b;
}

}  // namespace tolva
