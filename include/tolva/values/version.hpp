#pragma once

#include <compare>
#include <concepts>
#include <cstdint>
#include <iosfwd>
#include <type_traits>
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

  // `f` called with the held value, as std::visit: the one dispatch over the
  // kinds. Like std::visit it throws std::bad_variant_access for a Version
  // left valueless, which only an emplace whose constructor threw leaves.
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

// Any of the four: one kind, or Version.
template <class T>
concept VersionValue = std::same_as<T, SemVer> || std::same_as<T, DotSeparated> ||
    std::same_as<T, Other> || std::same_as<T, Version>;

// The kinds by rank, then the held values in `order`. Inline, as sorting
// calls it for every pair.
[[nodiscard]] inline std::weak_ordering compare(const Version& a, const Version& b,
                                                PartOrder order) noexcept {
  // Both valueless (which only an emplace that threw leaves) are equivalent.
  if (a.value.index() != b.value.index() || a.value.valueless_by_exception())
    return a.value.index() <=> b.value.index();
  return a.visit([&b, order](const auto& held) -> std::weak_ordering {
    return compare(held, *b.get_if<std::remove_cvref_t<decltype(held)>>(), order);
  });
}
[[nodiscard]] inline std::weak_ordering operator<=>(const Version& a, const Version& b) noexcept {
  return compare(a, b, PartOrder::text);
}
[[nodiscard]] bool operator==(const Version& a, const Version& b) noexcept;

// The text form of the held value, unchanged.
void append_text_form(std::string& out, const Version& v);

// "Version::" followed by the debug form of the held value.
void append_debug_form(std::string& out, const Version& v);

}  // namespace tolva
