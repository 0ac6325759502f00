#include "tolva/values/part_order.hpp"

#include "part_number.hpp"

namespace tolva {
namespace {

std::strong_ordering compare_numeric_lists(TextSpan a, TextSpan b) noexcept {
  const std::size_t common = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < common; ++i) {
    if (const auto order = compare_parts(a[i], b[i], PartOrder::numeric); order != 0) return order;
  }
  return a.size() <=> b.size();
}

}  // namespace

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

std::strong_ordering compare(const DotSeparated& a, const DotSeparated& b,
                             PartOrder order) noexcept {
  if (order == PartOrder::text) return a <=> b;
  return compare_numeric_lists(a.parts, b.parts);
}

std::weak_ordering compare(const SemVer& a, const SemVer& b, PartOrder order) noexcept {
  if (order == PartOrder::text) return a <=> b;
  if (a.major != b.major) return a.major <=> b.major;
  if (a.minor != b.minor) return a.minor <=> b.minor;
  if (a.patch != b.patch) return a.patch <=> b.patch;
  const OptionalTextSpan a_rc = a.rc();
  const OptionalTextSpan b_rc = b.rc();
  if (a_rc && b_rc) return compare_numeric_lists(*a_rc, *b_rc);
  return b_rc.has_value() <=> a_rc.has_value();
}

std::weak_ordering compare(const Version& a, const Version& b, PartOrder order) noexcept {
  if (order == PartOrder::text) return a <=> b;
  if (a.value.index() != b.value.index()) return a.value.index() <=> b.value.index();
  if (const auto* x = a.get_if<SemVer>()) return compare(*x, *b.get_if<SemVer>(), order);
  if (const auto* x = a.get_if<DotSeparated>()) {
    return compare(*x, *b.get_if<DotSeparated>(), order);
  }
  if (const auto* x = a.get_if<Other>()) return *x <=> *b.get_if<Other>();
  return std::weak_ordering::equivalent;
}

}  // namespace tolva
