#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tolva/grammar/parse_error.hpp"
#include "tolva/values/range.hpp"

// Orders of versions. An order is a value: a version scheme (which texts are
// versions, and how they order), and for tolva's own scheme the kind its
// texts are read as and the order of their parts. Every scheme orders by an
// order key, tests ranges by keys, and describes the fields of a version.
//
//   tolva::scheme::compare("1.2.3-1", "1.2.3", tolva::Scheme::debian);   // greater
//   auto range = tolva::scheme::read_range("^1.2 || >=3", tolva::Scheme::semver);
//   tolva::scheme::contains(*range, "1.9.0");                            // true
//   tolva::Order numeric{tolva::Scheme::tolva, std::nullopt, tolva::PartOrder::numeric};
//
// A text a scheme refuses gives the grammar's ParseError, which
// tolva::explain draws as for any other version text.
namespace tolva {

using ParseError = grammar::ParseError;

enum class Scheme : std::uint8_t {
  // tolva's own reading (SemVer, else DotSeparated, else Other) and order:
  // kinds first, parts as text.
  tolva,
  // SemVer 2.0.0 text exactly, in its precedence; numbers of any size.
  semver,
  // Every text: runs of digits and letters, ordered as people read release
  // names across formats (1.0alpha1 < 1.0rc1 < 1.0 < 1.0patch1 < 1.0.1 < 1.0a).
  natural,
  // Debian package versions, [epoch:]upstream[-revision], in dpkg's order.
  debian,
  // RPM's versions, [epoch:]version[-release], in RPM's order (rpmvercmp).
  rpm,
  // Alpine's apk versions, 1.2.3a_rc1-r2, in apk-tools' order.
  apk,
  // Arch Linux's pacman versions, [epoch:]pkgver[-pkgrel], in pacman's order.
  alpm,
  // Python package versions (PEP 440) as packaging reads and orders them.
  pypi,
  // SemVer 2.0.0 versions ordered by precedence, then build metadata, with
  // requirements where a bare version means ^.
  cargo,
  // Ruby gem versions as RubyGems reads and orders them.
  gem,
  // Go module versions: 'v' and SemVer 2.0.0 (v1 and v1.2 for v1.0.0 and
  // v1.2.0), in golang.org/x/mod/semver's order.
  golang,
  // NuGet package versions: up to four numbers and SemVer 2.0.0 labels,
  // labels without regard to case, 1.0 = 1.0.0.0.
  nuget,
  // Composer's versions (PHP's Packagist) in Composer's order: four numbers
  // or a date, stabilities dev < alpha < beta < RC < stable < patch, and
  // branches "dev-NAME" below them.
  composer,
  // Maven artifact versions: items of numbers and qualifiers in Maven's
  // ComparableVersion order (1-alpha < 1-SNAPSHOT < 1 = 1.0 < 1-sp).
  maven,
};

struct Order {
  Scheme scheme = Scheme::tolva;
  // tolva's scheme only: the kind every text must read as (none: any kind,
  // as a Version), and how the parts of lists compare.
  std::optional<Kind> kind;
  PartOrder parts = PartOrder::text;

  constexpr Order(Scheme s = Scheme::tolva) noexcept : scheme(s) {}  // NOLINT: a scheme is an order
  constexpr Order(Scheme s, std::optional<Kind> k, PartOrder p) noexcept
      : scheme(s), kind(k), parts(p) {}
  friend constexpr bool operator==(const Order&, const Order&) noexcept = default;
};

// What a range needs to know of a version beside its key, told by the key's
// writer as it writes the key: never read back from the key's bytes.
struct KeyFacts {
  // Whether the version is a pre-release, which a range holds back unless a
  // bound admits it.
  bool prerelease = false;
  // For a pre-release: how many bytes of its key name the release it comes
  // before (semver's major.minor.patch).
  std::uint32_t release = 0;
};

// One test of a range: an operator and the key of its operand.
struct KeyBound {
  RangeOp op = RangeOp::equal;
  std::string key;
  std::string upper;  // RangeOp::outside only: the key it lies at or above
  // The pre-releases that pass the alternative through this bound: those
  // whose key begins with the first `admits` bytes of `key` (0: every one);
  // none when absent.
  std::optional<std::uint32_t> admits;
  // The operand as a version text (the one made up for ^, ~ and partial
  // versions), so that the range can be written back: the version at `key`,
  // or where `key` lies between versions, the least version above it. Below
  // such a key (<, and RangeOp::outside's lower side) it may instead name
  // the greatest version below it. Empty where no version can be named.
  std::string text;
  // RangeOp::outside only: the version at `upper`, or the least above it.
  std::string upper_text;
};

// Alternatives of bounds that must all hold, under one order.
struct KeyRange {
  Order order;
  bool include_prerelease = false;
  // How many leading bytes of a key tell its kind: a bound holds only for
  // keys of its own kind (tolva's scheme: 1, the kind's rank).
  std::uint8_t kind_bytes = 0;
  std::vector<std::vector<KeyBound>> alternatives;
  // Whether a list filtered by the range keeps the pre-releases it holds
  // back when it holds nothing else (Python's specifiers).
  bool prereleases_when_alone = false;

  // Whether the version of this key (and the facts its writer told) lies
  // within.
  [[nodiscard]] bool contains(std::string_view key, KeyFacts facts) const noexcept;
};

// One field of a version as `tolva parse --json` shows it.
struct Field {
  enum class Form : std::uint8_t { number, text, list, absent };
  std::string_view name;
  Form form = Form::absent;
  std::string value;               // a number's digits, or a text
  std::vector<std::string> items;  // a list's
};

namespace scheme {

// Every scheme with its name, in the order of the enumerators: the one list
// of schemes, which the tool's --scheme, its manual page and its completions
// are made from.
struct SchemeName {
  Scheme scheme;
  std::string_view name;
};
// clang-format off
inline constexpr SchemeName named_schemes[] = {
    {Scheme::tolva, "tolva"},   {Scheme::semver, "semver"}, {Scheme::natural, "natural"},
    {Scheme::debian, "debian"}, {Scheme::rpm, "rpm"},       {Scheme::apk, "apk"},
    {Scheme::alpm, "alpm"},     {Scheme::pypi, "pypi"},     {Scheme::cargo, "cargo"},
    {Scheme::gem, "gem"},       {Scheme::golang, "golang"}, {Scheme::nuget, "nuget"},
    {Scheme::composer, "composer"}, {Scheme::maven, "maven"},
};
// clang-format on

inline constexpr auto all = [] {
  std::array<Scheme, std::size(named_schemes)> schemes{};
  for (std::size_t i = 0; i < schemes.size(); ++i) schemes[i] = named_schemes[i].scheme;
  return schemes;
}();
static_assert(
    [] {
      for (std::size_t i = 0; i < all.size(); ++i)
        if (static_cast<std::size_t>(all[i]) != i) return false;
      return true;
    }(),
    "named_schemes lists every scheme once, in the order of the enumerators");

// A scheme's name ("tolva", "semver", "debian", ...), and the scheme of a
// name or of another name it has.
[[nodiscard]] std::string_view name(Scheme s) noexcept;
[[nodiscard]] std::optional<Scheme> named(std::string_view name) noexcept;

// Whether the order reads the text as a version.
[[nodiscard]] std::expected<void, ParseError> check(std::string_view text, const Order& order);

// Appends the order key of the text: bytes that, compared as unsigned bytes
// with a proper prefix first (memcmp, then length), order exactly as
// compare() does and are equal exactly when the versions are. Keys of
// different orders do not mix. On failure `out` is left as it was.
[[nodiscard]] std::expected<KeyFacts, ParseError> append_order_key(std::string& out,
                                                                   std::string_view text,
                                                                   const Order& order);
[[nodiscard]] std::expected<std::string, ParseError> order_key(std::string_view text,
                                                               const Order& order);
// The most bytes append_order_key appends for a text of `size` bytes.
[[nodiscard]] std::size_t order_key_size_bound(std::size_t size, const Order& order) noexcept;

// The two texts' order; the error of the first that does not read.
[[nodiscard]] std::expected<std::weak_ordering, ParseError> compare(std::string_view a,
                                                                    std::string_view b,
                                                                    const Order& order);

// The fields of the version the text reads as, read once (tolva's scheme
// has none here: its values show their own forms).
[[nodiscard]] std::expected<std::vector<Field>, ParseError> fields(std::string_view text,
                                                                   const Order& order);

// A range text in the order's range syntax (the guide lists each scheme's).
[[nodiscard]] std::expected<KeyRange, ParseError> read_range(std::string_view text,
                                                             const Order& order,
                                                             bool include_prerelease = false);

// Whether the version the text reads as lies in the range.
[[nodiscard]] std::expected<bool, ParseError> contains(const KeyRange& range,
                                                       std::string_view text);

}  // namespace scheme
}  // namespace tolva
