#include "tolva/values/other.hpp"

#include <string>
#include <string_view>

#include "text/quoted.hpp"

namespace tolva {

std::strong_ordering operator<=>(const Other& a, const Other& b) noexcept {
  return a.value <=> b.value;
}

bool operator==(const Other& a, const Other& b) noexcept { return a.value == b.value; }

void append_text_form(std::string& out, const Other& v) { out += v.value; }

void append_debug_form(std::string& out, const Other& v) {
  constexpr std::string_view head = "Other { value: ";
  constexpr std::string_view tail = " }";
  out.reserve(out.size() + head.size() + v.value.size() + 2 + tail.size());
  out += head;
  append_quoted(out, v.value);
  out += tail;
}

}  // namespace tolva
