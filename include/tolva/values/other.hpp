#pragma once

#include <compare>
#include <string>

#include "tolva/values/short_text.hpp"

namespace tolva {

// A free-form version text.
struct Other {
  ShortText value;
};

[[nodiscard]] std::strong_ordering operator<=>(const Other& a, const Other& b) noexcept;
[[nodiscard]] bool operator==(const Other& a, const Other& b) noexcept;

void append_text_form(std::string& out, const Other& v);
[[nodiscard]] std::string text_form(const Other& v);

// `Other { value: "nightly" }`
void append_debug_form(std::string& out, const Other& v);
[[nodiscard]] std::string debug_form(const Other& v);

}  // namespace tolva
