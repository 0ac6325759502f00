#pragma once

#include <compare>
#include <string>

#include "tolva/values/text_list.hpp"

namespace tolva {

// A version made of dot-separated text parts.
struct DotSeparated {
  TextList parts;
};

[[nodiscard]] std::strong_ordering operator<=>(const DotSeparated& a,
                                               const DotSeparated& b) noexcept;
[[nodiscard]] bool operator==(const DotSeparated& a, const DotSeparated& b) noexcept;

// The parts joined with ".".
void append_text_form(std::string& out, const DotSeparated& v);
[[nodiscard]] std::string text_form(const DotSeparated& v);

// `DotSeparated { parts: ["1", "2"] }`
void append_debug_form(std::string& out, const DotSeparated& v);
[[nodiscard]] std::string debug_form(const DotSeparated& v);

}  // namespace tolva
