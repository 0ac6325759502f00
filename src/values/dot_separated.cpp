#include "tolva/values/dot_separated.hpp"

#include <string>

#include "join.hpp"
#include "quoted_list.hpp"
#include "text_list_order.hpp"

namespace tolva {

std::strong_ordering compare(const DotSeparated& a, const DotSeparated& b,
                             PartOrder order) noexcept {
  return values::detail::compare_lists(a.parts, b.parts, order);
}

bool operator==(const DotSeparated& a, const DotSeparated& b) noexcept {
  return a.parts == b.parts;
}

void append_text_form(std::string& out, const DotSeparated& v) {
  out.reserve(out.size() + values::detail::joined_length(v.parts));
  values::detail::append_joined(out, v.parts);
}

void append_debug_form(std::string& out, const DotSeparated& v) {
  constexpr std::string_view head = "DotSeparated { parts: ";
  constexpr std::string_view tail = " }";
  out.reserve(out.size() + head.size() + values::detail::quoted_list_hint(v.parts) + tail.size());
  out += head;
  values::detail::append_quoted_list(out, v.parts);
  out += tail;
}

}  // namespace tolva
