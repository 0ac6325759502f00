#pragma once

#include <expected>
#include <string_view>
#include <utility>

#include "build.hpp"
#include "scanner.hpp"
#include "tolva/values/version.hpp"

// How each kind is read, with the error type left to the caller: `on_error`
// turns the one ParseError into it. Readers and parsers both build their
// result here in place, so a value is never moved between result types.
// With Build::nothing an accepted text gives an empty value of its kind: only
// the acceptance and the error are asked for.
namespace tolva::grammar::detail {

// Each kind's grammar: a rule over a Scanner of either recorder that reads the
// whole text into `out` and says whether it matched. These are the only
// statements of which texts a kind accepts. They are inlined into each
// reading, so a first try runs as one straight piece of code.

struct SemVerRule {
  template <class S>
  [[gnu::always_inline]] bool operator()(S& s, SemVer& out) const {
    return s.semver_text(out);
  }
};

struct DotSeparatedRule {
  template <class S>
  [[gnu::always_inline]] bool operator()(S& s, DotSeparated& out) const {
    auto parts = s.dot_list();
    if (parts) out.parts = std::move(*parts);
    return parts.has_value();
  }
};

template <Build B>
struct OtherRule {
  template <class S>
  [[gnu::always_inline]] bool operator()(S& s, Other& out) const {
    const auto id = s.identifier();
    if (!id || !s.end_of_input()) return false;
    if constexpr (B == Build::values) out = Other{*id};
    return true;
  }
};

// A Version's alternatives after the semantic version, from where that one
// left the scanner: a dot-separated list, then an identifier.
template <Build B>
struct VersionPastSemVerRule {
  template <class S>
  [[gnu::always_inline]] bool operator()(S& s, Version& out) const {
    if (DotSeparated list; DotSeparatedRule{}(s, list)) {
      out.value.template emplace<DotSeparated>(std::move(list));
      return true;
    }
    if (Other id; OtherRule<B>{}(s, id)) {
      out.value.template emplace<Other>(std::move(id));
      return true;
    }
    return false;
  }
};

// `out` holds a SemVer, which the first alternative reads into.
template <Build B>
struct VersionRule {
  template <class S>
  [[gnu::always_inline]] bool operator()(S& s, Version& out) const {
    return SemVerRule{}(s, *std::get_if<SemVer>(&out.value)) || VersionPastSemVerRule<B>{}(s, out);
  }
};

// The error of a text the first try rejected: the same rule read again with a
// failure record, which rejects it too.
template <class T, class E, Build B, class Rule, class OnError>
[[gnu::noinline]] std::unexpected<E> diagnosis(std::string_view text, const Rule& rule,
                                               const OnError& on_error) {
  Scanner<FailureRecord> s(text, B);
  T rejected;
  rule(s, rejected);
  return std::unexpected(on_error(s.error()));
}

// A first try by `rule` without recording; only a rejected text is read again.
template <class T, class E, Build B, class Rule, class OnError>
std::expected<T, E> read_by(std::string_view text, const Rule& rule, const OnError& on_error) {
  std::expected<T, E> result(std::in_place);
  if (Scanner<NoRecord> s(text, B); !rule(s, *result))
    result = diagnosis<T, E, B>(text, rule, on_error);
  return result;
}

// What a Version's first try finds past the semantic version, kept out of line
// so that its callers stay small enough for a plain release to cost little
// more than its digits. A failed semantic version leaves a first try's scanner
// at the start with nothing kept, so a fresh one takes over there.
template <class E, Build B, class OnError>
[[gnu::noinline]] void read_version_past_semver(std::expected<Version, E>& result,
                                                std::string_view text, const OnError& on_error) {
  if (Scanner<NoRecord> s(text, B); !VersionPastSemVerRule<B>{}(s, *result))
    result = diagnosis<Version, E, B>(text, VersionRule<B>{}, on_error);
}

// Every path returns `result`, so the first try writes straight into the
// caller's return slot.
template <class E, Build B = Build::values, class OnError>
std::expected<Version, E> read_version_as(std::string_view text, const OnError& on_error) {
  std::expected<Version, E> result(std::in_place);
  if (Scanner<NoRecord> s(text, B); !SemVerRule{}(s, *std::get_if<SemVer>(&result->value)))
    read_version_past_semver<E, B>(result, text, on_error);
  return result;
}

template <class E, Build B = Build::values, class OnError>
std::expected<SemVer, E> read_semver_as(std::string_view text, const OnError& on_error) {
  return read_by<SemVer, E, B>(text, SemVerRule{}, on_error);
}

template <class E, Build B = Build::values, class OnError>
std::expected<DotSeparated, E> read_dot_separated_as(std::string_view text,
                                                     const OnError& on_error) {
  return read_by<DotSeparated, E, B>(text, DotSeparatedRule{}, on_error);
}

template <class E, Build B = Build::values, class OnError>
std::expected<Other, E> read_other_as(std::string_view text, const OnError& on_error) {
  return read_by<Other, E, B>(text, OtherRule<B>{}, on_error);
}

// Whether a reading accepts the text: nothing, or its error.
template <class T, class E>
std::expected<void, E> acceptance(std::expected<T, E>&& read) {
  if (!read) return std::unexpected(std::move(read.error()));
  return {};
}

}  // namespace tolva::grammar::detail
