#pragma once

#include <compare>
#include <cstdint>
#include <string>

#include "tolva/values/text_list.hpp"

namespace tolva {

// A semantic version. `rc` holds the pre-release parts, `meta` the build parts.
struct SemVer {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t patch = 0;
  OptionalTextList rc;
  OptionalTextList meta;
};

// Order: numbers, then rc (absent after every present rc); meta never counts,
// so values that differ only in meta are equal yet distinguishable.
std::weak_ordering operator<=>(const SemVer& a, const SemVer& b) noexcept;
bool operator==(const SemVer& a, const SemVer& b) noexcept;

// "1.2.3-rc.1+build.5"
void append_text_form(std::string& out, const SemVer& v);
std::string text_form(const SemVer& v);

// "SemVer { major: 1, minor: 2, patch: 3, rc: None, meta: None }"
void append_debug_form(std::string& out, const SemVer& v);
std::string debug_form(const SemVer& v);

}  // namespace tolva
