#pragma once

#include <compare>
#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tolva/grammar/parse_error.hpp"

// Version schemes: each is a reading (which texts are versions) and an order,
// with an order key and ranges of its own.
//
//   using tolva::Scheme;
//   tolva::scheme::compare("1.2.3-1", "1.2.3", Scheme::debian);   // greater
//   tolva::scheme::compare("1.0a", "1.0.1", Scheme::natural);     // greater
//   auto key = tolva::scheme::order_key("2:1.0~rc1-3", Scheme::debian);
//   auto range = tolva::scheme::read_range("^1.2 || >=3", Scheme::semver);
//   tolva::scheme::contains(*range, "1.9.0", Scheme::semver)      // true
//
// A text a scheme refuses gives the grammar's ParseError, which
// tolva::explain draws as for any other version text.
namespace tolva {

using ParseError = grammar::ParseError;
enum class PartOrder : std::uint8_t;
struct Range;

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
};

namespace scheme {

inline constexpr Scheme all[] = {Scheme::tolva, Scheme::semver, Scheme::natural, Scheme::debian};

// "tolva", "semver", "natural", "debian".
[[nodiscard]] std::string_view name(Scheme s) noexcept;
[[nodiscard]] std::optional<Scheme> named(std::string_view name) noexcept;

// Whether the scheme reads the text as a version.
[[nodiscard]] std::expected<void, ParseError> check(std::string_view text, Scheme s);

// The order key of the text under the scheme: bytes that, compared as
// unsigned bytes with a proper prefix first (memcmp, then length), order
// exactly as compare() does and are equal exactly when the versions are.
// Keys of different schemes do not mix. On failure `out` is left as it was.
[[nodiscard]] std::expected<void, ParseError> append_order_key(std::string& out,
                                                               std::string_view text, Scheme s);
[[nodiscard]] std::expected<std::string, ParseError> order_key(std::string_view text, Scheme s);
// The most bytes append_order_key appends for a text of `size` bytes: room
// reserved for that many is never outgrown.
[[nodiscard]] std::size_t order_key_size_bound(std::size_t size, Scheme s) noexcept;

// The two texts' order under the scheme; the error of the first that does not
// read.
[[nodiscard]] std::expected<std::weak_ordering, ParseError> compare(std::string_view a,
                                                                    std::string_view b, Scheme s);

// A range of versions under a scheme.
//   tolva:   tolva's own range grammar (tolva::parse_range).
//   semver:  the ranges of npm's semver package, without its options:
//            <, <=, >, >=, = and a bare version; X-ranges and partial
//            versions (2.3 is >=2.3.0 <2.4.0-0, >=1 is >=1.0.0, <1.2 is
//            <1.2.0-0, * and the empty text match every release); ~ and ~>
//            (same minor), ^ (same first non-zero number); A - B (partial
//            ends widen: 1 - 2 is >=1.0.0 <3.0.0-0); blanks join comparators,
//            || joins alternatives, an empty alternative is *. An operand may
//            have a 'v' or '=' before it and build metadata after it, and
//            blanks may follow an operator. A pre-release satisfies an
//            alternative only when one of its comparators names a pre-release
//            of the same major.minor.patch, unless pre-releases are included
//            (which also starts the ranges of partial versions at their -0).
//   natural: comparators <, <=, =, !=, >=, > and a bare version (=), each
//            operand up to the next blank or '|'.
//   debian:  the same, and << and >> (strictly less and greater).
//   For natural and debian, blanks join comparators and || joins
//   alternatives; no alternative may be empty.
struct RangeBound {
  enum class Op : std::uint8_t { less, less_equal, greater, greater_equal, equal, not_equal };
  Op op = Op::equal;
  std::string key;   // the order key of the operand
  std::string text;  // the operand as a version (the one made up for ^, ~ and partial versions)
};

struct SchemeRange {
  Scheme scheme = Scheme::tolva;
  bool include_prerelease = false;
  // Scheme::tolva: the range as tolva reads it, the one element (a vector,
  // so that this header needs no definition of Range).
  std::vector<Range> own;
  // Every other scheme: alternatives of bounds that must all hold.
  std::vector<std::vector<RangeBound>> alternatives;

  SchemeRange();
  SchemeRange(Scheme s, bool include_prerelease, std::vector<std::vector<RangeBound>> alternatives);
  SchemeRange(const SchemeRange&);
  SchemeRange(SchemeRange&&) noexcept;
  SchemeRange& operator=(const SchemeRange&);
  SchemeRange& operator=(SchemeRange&&) noexcept;
  ~SchemeRange();
};

[[nodiscard]] std::expected<SchemeRange, ParseError> read_range(std::string_view text, Scheme s,
                                                                bool include_prerelease = false);

// Whether the version the text reads as lies in the range, read under the
// range's scheme.
[[nodiscard]] std::expected<bool, ParseError> contains(const SchemeRange& range,
                                                       std::string_view text);
// The same for a version given by its order key (any scheme but tolva, whose
// ranges test kinds that its keys do not carry apart).
[[nodiscard]] bool contains_key(const SchemeRange& range, std::string_view key) noexcept;

}  // namespace scheme
}  // namespace tolva
