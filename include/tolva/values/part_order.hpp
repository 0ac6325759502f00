#pragma once

#include <compare>
#include <cstdint>
#include <string_view>

#include "tolva/values/dot_separated.hpp"
#include "tolva/values/semver.hpp"
#include "tolva/values/version.hpp"

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

[[nodiscard]] std::strong_ordering compare_parts(std::string_view a, std::string_view b,
                                                 PartOrder order) noexcept;

// The values' order with their parts in `order`; PartOrder::text gives `<=>`.
[[nodiscard]] std::weak_ordering compare(const Version& a, const Version& b,
                                         PartOrder order) noexcept;
[[nodiscard]] std::weak_ordering compare(const SemVer& a, const SemVer& b,
                                         PartOrder order) noexcept;
[[nodiscard]] std::strong_ordering compare(const DotSeparated& a, const DotSeparated& b,
                                           PartOrder order) noexcept;

}  // namespace tolva
