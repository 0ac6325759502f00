#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <utility>
#include <variant>

#include "tolva/values/dot_separated.hpp"
#include "tolva/values/other.hpp"
#include "tolva/values/semver.hpp"

namespace tolva {

// The kinds in their order; each is the index of its alternative in
// Version::value.
enum class Kind : std::uint8_t { semver, dot_separated, other };

// Exactly one of the three kinds. The alternative's index is the kind's rank in
// the order: every SemVer sorts before every DotSeparated, which sorts before
// every Other.
struct Version {
  std::variant<SemVer, DotSeparated, Other> value;

  [[nodiscard]] Kind kind() const noexcept { return static_cast<Kind>(value.index()); }

  // The held value when it is of kind `K`, else null.
  template <class K>
  [[nodiscard]] K* get_if() noexcept {
    return std::get_if<K>(&value);
  }
  template <class K>
  [[nodiscard]] const K* get_if() const noexcept {
    return std::get_if<K>(&value);
  }

  // `f` called with the held value, as std::visit.
  template <class F>
  decltype(auto) visit(F&& f) & {
    return std::visit(std::forward<F>(f), value);
  }
  template <class F>
  decltype(auto) visit(F&& f) const& {
    return std::visit(std::forward<F>(f), value);
  }
  template <class F>
  decltype(auto) visit(F&& f) && {
    return std::visit(std::forward<F>(f), std::move(value));
  }
};

// Inline, as sorting calls it for every pair.
[[nodiscard]] inline std::weak_ordering operator<=>(const Version& a, const Version& b) noexcept {
  // The alternative's index is the kind's rank.
  if (a.value.index() != b.value.index()) return a.value.index() <=> b.value.index();
  if (const auto* x = std::get_if<SemVer>(&a.value)) return *x <=> *std::get_if<SemVer>(&b.value);
  if (const auto* x = std::get_if<DotSeparated>(&a.value)) {
    return *x <=> *std::get_if<DotSeparated>(&b.value);
  }
  if (const auto* x = std::get_if<Other>(&a.value)) return *x <=> *std::get_if<Other>(&b.value);
  // Both valueless, which a failed assignment alone leaves.
  return std::weak_ordering::equivalent;
}
[[nodiscard]] bool operator==(const Version& a, const Version& b) noexcept;

// The text form of the held value, unchanged.
void append_text_form(std::string& out, const Version& v);
[[nodiscard]] std::string text_form(const Version& v);

// "Version::" followed by the debug form of the held value.
void append_debug_form(std::string& out, const Version& v);
[[nodiscard]] std::string debug_form(const Version& v);

}  // namespace tolva
