#pragma once

#include <optional>
#include <span>
#include <vector>

#include "tolva/values/short_text.hpp"

namespace tolva {

// Parts are always texts, never numbers.
using TextList = std::vector<ShortText>;

// A list of texts that may be absent. Absent and present-but-empty are
// different states.
using OptionalTextList = std::optional<TextList>;

// Parts to read, wherever they are kept.
using TextSpan = std::span<const ShortText>;
using OptionalTextSpan = std::optional<TextSpan>;

}  // namespace tolva
