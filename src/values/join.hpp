#pragma once

#include <cstddef>
#include <string>

#include "tolva/values/text_list.hpp"

namespace tolva::values::detail {

// Length of `parts` joined with ".".
std::size_t joined_length(TextSpan parts) noexcept;

// Appends `parts` with one "." between neighbours; an empty list adds nothing.
void append_joined(std::string& out, TextSpan parts);

}  // namespace tolva::values::detail
