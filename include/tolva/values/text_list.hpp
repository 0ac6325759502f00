#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
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

// A list still in its text: `count` parts joined by single dots, none of which
// holds a dot (the empty list is an empty text with a count of 0). A value is
// built from it part by part, with no list in between.
struct JoinedParts {
  std::string_view text;
  std::size_t count = 0;
};
using OptionalJoinedParts = std::optional<JoinedParts>;

}  // namespace tolva
