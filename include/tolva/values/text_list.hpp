#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "tolva/values/list.hpp"
#include "tolva/values/short_text.hpp"

namespace tolva {

// How the parts of a list (a DotSeparated's parts, a SemVer's rc) compare.
//   - text: by unsigned bytes, a proper prefix first; the order of `<=>`.
//   - numeric: two numbers (a part of one or more ASCII digits and nothing
//     else) compare by value, of any length, and by text when their values
//     are equal, so "01" and "1" stay distinct ("01" first, as by text); a
//     number sorts before every other part; other parts compare by text.
//     An empty part is no number.
// Everything else (the kinds' ranks, a SemVer's numbers, an absent rc after a
// present one, Other's value) is the same in both.
enum class PartOrder : std::uint8_t { text, numeric };

// Parts are always texts, never numbers.
using TextList = List<ShortText>;

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
