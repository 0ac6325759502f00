#include "quoted_list.hpp"

#include "text/quoted.hpp"

namespace tolva::values::detail {

std::size_t quoted_list_hint(TextSpan parts) noexcept {
  std::size_t length = 2;  // the brackets
  for (const auto& part : parts) length += part.size() + 4;  // quotes and ", "
  return parts.empty() ? length : length - 2;  // no ", " after the last part
}

std::size_t optional_quoted_list_hint(const OptionalTextSpan& parts) noexcept {
  return parts ? 6 + quoted_list_hint(*parts) : 4;  // "Some(" ")" or "None"
}

void append_quoted_list(std::string& out, TextSpan parts) {
  out += '[';
  bool first = true;
  for (const auto& part : parts) {
    if (!first) out += ", ";
    append_quoted(out, part);
    first = false;
  }
  out += ']';
}

void append_optional_quoted_list(std::string& out, const OptionalTextSpan& parts) {
  if (!parts) {
    out += "None";
    return;
  }
  out += "Some(";
  append_quoted_list(out, *parts);
  out += ')';
}

}  // namespace tolva::values::detail
