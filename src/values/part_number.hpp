#pragma once

#include <string_view>

namespace tolva::values_detail {

// Whether a part is a number in the numeric part order: one or more ASCII
// digits and nothing else.
constexpr bool is_number(std::string_view part) noexcept {
  if (part.empty()) return false;
  for (char c : part) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// A number's digits without its leading zeros: empty for zero.
constexpr std::string_view significant_digits(std::string_view number) noexcept {
  const std::size_t first = number.find_first_not_of('0');
  return first == std::string_view::npos ? std::string_view() : number.substr(first);
}

}  // namespace tolva::values_detail
