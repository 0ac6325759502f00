#pragma once

#include <expected>
#include <string>
#include <string_view>
#include <utility>

#include "build.hpp"
#include "fast_lane.hpp"
#include "scanner.hpp"
#include "tolva/values/version.hpp"

// How each kind is read, with the error type left to the caller: `on_error`
// turns the one ParseError into it. Readers and parsers both build their
// result here in place, so a value is never moved between result types.
// Versions, semantic versions and dot-separated lists try the fast lane first
// and go through the Scanner only when the lane declines the text. With
// Build::nothing an accepted text gives an empty value of its kind: only the
// acceptance and the error are asked for.
namespace tolva::grammar::detail {

template <Build B>
Other other_from(std::string_view identifier) {
  if constexpr (B == Build::values)
    return Other{identifier};
  else
    return Other{};
}

// The Scanner's readings alone, which the fast lane must match.

template <class E, Build B = Build::values, class OnError>
std::expected<Version, E> scan_version_as(std::string_view text, const OnError& on_error) {
  Scanner s(text, B);
  if (SemVer v; s.semver_text(v)) return std::expected<Version, E>(std::in_place, std::move(v));
  if (auto parts = s.dot_list())
    return std::expected<Version, E>(std::in_place, DotSeparated{std::move(*parts)});
  if (auto id = s.identifier(); id && s.end_of_input())
    return std::expected<Version, E>(std::in_place, other_from<B>(*id));
  return std::unexpected(on_error(s.error()));
}

template <class E, Build B = Build::values, class OnError>
std::expected<SemVer, E> scan_semver_as(std::string_view text, const OnError& on_error) {
  Scanner s(text, B);
  if (SemVer v; s.semver_text(v)) return v;
  return std::unexpected(on_error(s.error()));
}

template <class E, Build B = Build::values, class OnError>
std::expected<DotSeparated, E> scan_dot_separated_as(std::string_view text,
                                                     const OnError& on_error) {
  Scanner s(text, B);
  if (auto parts = s.dot_list()) return DotSeparated{std::move(*parts)};
  return std::unexpected(on_error(s.error()));
}

// The readings the readers and parsers use.

// What the lane declined, kept out of line so that the lane's callers stay
// small enough for a plain release to cost little more than its digits.
template <class E, Build B, class OnError>
[[gnu::noinline]] void read_version_past_lane(std::expected<Version, E>& result,
                                              std::string_view text, const OnError& on_error) {
  // Declined as a semantic version by the lane means declined by the Scanner
  // too, so the list is the next alternative.
  if (TextList parts; FastLane(text, B).dot_list(parts))
    result->value.template emplace<DotSeparated>(std::move(parts));
  else
    result = scan_version_as<E, B>(text, on_error);
}

template <class E, Build B, class OnError>
[[gnu::noinline]] void read_semver_past_lane(std::expected<SemVer, E>& result,
                                             std::string_view text, const OnError& on_error) {
  result = scan_semver_as<E, B>(text, on_error);
}

// Every path returns `result`, so the lane writes straight into the caller's
// return slot.
template <class E, Build B = Build::values, class OnError>
std::expected<Version, E> read_version_as(std::string_view text, const OnError& on_error) {
  std::expected<Version, E> result(std::in_place);
  if (!FastLane(text, B).semver(*std::get_if<SemVer>(&result->value)))
    read_version_past_lane<E, B>(result, text, on_error);
  return result;
}

template <class E, Build B = Build::values, class OnError>
std::expected<SemVer, E> read_semver_as(std::string_view text, const OnError& on_error) {
  std::expected<SemVer, E> result(std::in_place);
  if (!FastLane(text, B).semver(*result)) read_semver_past_lane<E, B>(result, text, on_error);
  return result;
}

template <class E, Build B = Build::values, class OnError>
std::expected<DotSeparated, E> read_dot_separated_as(std::string_view text,
                                                     const OnError& on_error) {
  if (TextList parts; FastLane(text, B).dot_list(parts)) return DotSeparated{std::move(parts)};
  return scan_dot_separated_as<E, B>(text, on_error);
}

template <class E, Build B = Build::values, class OnError>
std::expected<Other, E> read_other_as(std::string_view text, const OnError& on_error) {
  Scanner s(text, B);
  if (auto id = s.identifier(); id && s.end_of_input()) return other_from<B>(*id);
  return std::unexpected(on_error(s.error()));
}

// Whether a reading accepts the text: nothing, or its error.
template <class T, class E>
std::expected<void, E> acceptance(std::expected<T, E>&& read) {
  if (!read) return std::unexpected(std::move(read.error()));
  return {};
}

}  // namespace tolva::grammar::detail
