#pragma once

#include <expected>
#include <string>
#include <string_view>
#include <utility>

#include "scanner.hpp"
#include "tolva/values/version.hpp"

// How each kind is read, with the error type left to the caller: `on_error`
// turns the one ParseError into it. Readers and parsers both build their
// result here in place, so a value is never moved between result types.
namespace tolva::grammar::detail {

template <class E, class OnError>
std::expected<Version, E> read_version_as(std::string_view text, const OnError& on_error) {
  Scanner s(text);
  if (SemVer v; s.semver_text(v) && s.end_of_input())
    return std::expected<Version, E>(std::in_place, std::move(v));
  s.rewind();
  if (TextList parts = s.dot_list(); s.end_of_input())
    return std::expected<Version, E>(std::in_place, DotSeparated{std::move(parts)});
  s.rewind();
  if (auto id = s.identifier(); id && s.end_of_input())
    return std::expected<Version, E>(std::in_place, Other{std::string(*id)});
  return std::unexpected(on_error(s.error()));
}

template <class E, class OnError>
std::expected<SemVer, E> read_semver_as(std::string_view text, const OnError& on_error) {
  Scanner s(text);
  if (SemVer v; s.semver_text(v) && s.end_of_input()) return v;
  return std::unexpected(on_error(s.error()));
}

template <class E, class OnError>
std::expected<DotSeparated, E> read_dot_separated_as(std::string_view text,
                                                     const OnError& on_error) {
  Scanner s(text);
  if (TextList parts = s.dot_list(); s.end_of_input()) return DotSeparated{std::move(parts)};
  return std::unexpected(on_error(s.error()));
}

template <class E, class OnError>
std::expected<Other, E> read_other_as(std::string_view text, const OnError& on_error) {
  Scanner s(text);
  if (auto id = s.identifier(); id && s.end_of_input()) return Other{std::string(*id)};
  return std::unexpected(on_error(s.error()));
}

}  // namespace tolva::grammar::detail
