#pragma once

#include <compare>
#include <iosfwd>

#include "tolva/values/forms.hpp"
#include "tolva/values/short_text.hpp"
#include "tolva/values/text_list.hpp"

namespace tolva {

// A free-form version text.
struct Other {
  ShortText value;
};

[[nodiscard]] std::strong_ordering operator<=>(const Other& a, const Other& b) noexcept;
// An Other has no parts: the same in either order.
[[nodiscard]] inline std::strong_ordering compare(const Other& a, const Other& b,
                                                  PartOrder) noexcept {
  return a <=> b;
}
[[nodiscard]] bool operator==(const Other& a, const Other& b) noexcept;

void append_text_form(std::string& out, const Other& v);

// `Other { value: "nightly" }`
void append_debug_form(std::string& out, const Other& v);

}  // namespace tolva
