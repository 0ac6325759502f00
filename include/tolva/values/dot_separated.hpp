#pragma once

#include <compare>
#include <iosfwd>

#include "tolva/values/forms.hpp"
#include "tolva/values/text_list.hpp"

namespace tolva {

// A version made of dot-separated text parts.
struct DotSeparated {
  TextList parts;
};

// Part by part in `order`; a proper prefix sorts first.
[[nodiscard]] std::strong_ordering compare(const DotSeparated& a, const DotSeparated& b,
                                           PartOrder order) noexcept;
[[nodiscard]] inline std::strong_ordering operator<=>(const DotSeparated& a,
                                                      const DotSeparated& b) noexcept {
  return compare(a, b, PartOrder::text);
}
[[nodiscard]] bool operator==(const DotSeparated& a, const DotSeparated& b) noexcept;

// The parts joined with ".".
void append_text_form(std::string& out, const DotSeparated& v);

// `DotSeparated { parts: ["1", "2"] }`
void append_debug_form(std::string& out, const DotSeparated& v);

}  // namespace tolva
