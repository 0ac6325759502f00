#pragma once

#include <cstddef>
#include <string>

#include "tolva/values/text_list.hpp"

namespace tolva::values::detail {

// Bytes that a quoted rendering of `parts` takes when nothing needs escaping;
// a cheap size hint for the debug forms.
std::size_t quoted_list_hint(TextSpan parts) noexcept;

// Likewise for `None` or `Some([...])`.
std::size_t optional_quoted_list_hint(const OptionalTextSpan& parts) noexcept;

// `["a", "b"]`; `[]` for an empty list.
void append_quoted_list(std::string& out, TextSpan parts);

// `None`, or `Some([...])`.
void append_optional_quoted_list(std::string& out, const OptionalTextSpan& parts);

}  // namespace tolva::values::detail
