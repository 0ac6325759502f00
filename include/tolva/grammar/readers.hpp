#pragma once

#include <concepts>
#include <expected>
#include <string_view>

#include "tolva/grammar/parse_error.hpp"
#include "tolva/values/version.hpp"

namespace tolva {

// The kinds a text can be read as: one of the three, or Version for the
// first of them that takes the whole text.
template <class K>
concept Parsable = std::same_as<K, SemVer> || std::same_as<K, DotSeparated> ||
    std::same_as<K, Other> || std::same_as<K, Version>;

}  // namespace tolva

// The grammar proper: each reader takes the whole text and returns the value
// or the one furthest failure. Success never allocates for the failure. Any
// bytes are accepted: a byte that starts no UTF-8 character is never part of a
// value, so the reading fails there at the latest, with an error whose found
// kind is IllFormedUtf8.
namespace tolva::grammar {

// SemVer, else DotSeparated, else Other: the first reading that takes it all.
[[nodiscard]] std::expected<Version, ParseError> read_version(std::string_view text);
[[nodiscard]] std::expected<SemVer, ParseError> read_semver(std::string_view text);
[[nodiscard]] std::expected<DotSeparated, ParseError> read_dot_separated(std::string_view text);
[[nodiscard]] std::expected<Other, ParseError> read_other(std::string_view text);

}  // namespace tolva::grammar
