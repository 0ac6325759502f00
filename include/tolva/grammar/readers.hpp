#pragma once

#include <expected>
#include <string_view>

#include "tolva/grammar/parse_error.hpp"
#include "tolva/values/version.hpp"

// Text to value, the one way: each reading takes the whole text and returns
// the value or the one furthest failure, which explain() (<tolva/explain.hpp>)
// draws as a report. Success never allocates for the failure. Any bytes are
// accepted: a byte that starts no UTF-8 character is never part of a value,
// so the reading fails there at the latest, with an error whose found kind is
// IllFormedUtf8.
namespace tolva {

// The kinds a text can be read as: one of the three, or Version for the
// first of them that takes the whole text.
template <class K>
concept Parsable = VersionValue<K>;

// The text as a value of kind `K`, or the furthest place its reading failed.
template <Parsable K>
[[nodiscard]] std::expected<K, ParseError> parse_as(std::string_view text);

// Whether the text reads as kind `K`, with the same error as parse_as<K>.
// Nothing is built of an accepted text, so checking costs no memory that
// grows with the text.
template <Parsable K>
[[nodiscard]] std::expected<void, ParseError> check_as(std::string_view text);

// SemVer, else DotSeparated, else Other: the first reading that takes it all.
[[nodiscard]] inline std::expected<Version, ParseError> parse(std::string_view text) {
  return parse_as<Version>(text);
}

}  // namespace tolva
