#pragma once

#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tolva/scheme/key_set.hpp"
#include "tolva/scheme/order.hpp"

// Ranges as sets of versions, one notation across ecosystems: the vers
// notation of the package-url project ("vers:npm/>=1.0.0|<2.0.0"), and each
// scheme's own range syntax, read into one value that joins, meets,
// complements and compares exactly.
//
//   auto a = tolva::read_vers("vers:deb/>=1:1.2|<1:1.3");
//   auto b = tolva::read_native(">= 1:1.2.5", tolva::Scheme::debian);
//   a->intersects(*b);                      // true
//   tolva::write_vers(*a->intersection(*b));   // "vers:deb/>=1:1.2.5|<1:1.3"
namespace tolva {

// A vers type: which texts are versions and how they order. The types of
// tolva's schemes go by the names the vers notation gives them ("deb",
// "npm"); "all", "none", "lexicographic" (bytes), "intdot" (dotted integers)
// and "datetime" (RFC 3339 instants) are the notation's own.
struct VersType {
  enum class Family : std::uint8_t { scheme, all, none, lexicographic, intdot, datetime };
  std::string_view name;
  Family family = Family::none;
  Scheme scheme = Scheme::natural;  // Family::scheme only
  // npm's: a pre-release lies in an interval only when an end of it is a
  // pre-release of the same major.minor.patch.
  bool prerelease_rule = false;
};

// The type of a vers type name (lower case), or of a scheme's native ranges.
[[nodiscard]] std::optional<VersType> vers_type(std::string_view name) noexcept;
[[nodiscard]] std::optional<VersType> vers_type(Scheme s) noexcept;

// Why a range text does not read, or a range cannot be written or combined:
// `reason` one word ("pipe", "unsorted", ...), `message` a sentence.
struct RangeError {
  std::string reason;
  std::string message;
};

// A version's order key under a type, and whether it is a pre-release that
// the type's rule holds back.
struct TypedKey {
  std::string key;
  bool prerelease = false;
};
[[nodiscard]] std::expected<TypedKey, RangeError> typed_key(std::string_view version,
                                                            const VersType& type);

// The least version of a type, where it has one (SemVer's 0.0.0-0, PyPI's 0.dev0,
// intdot's 0): no key below it is a version.
[[nodiscard]] std::optional<KeyPoint> least_version(const VersType& type);
// The part of a set that versions can be in: at or above the least version.
[[nodiscard]] KeySet existing(KeySet set, const VersType& type);

class VersionRange {
 public:
  VersionRange(VersType type, KeySet versions);
  VersionRange(VersType type, KeySet releases, KeySet prereleases);

  [[nodiscard]] const VersType& type() const noexcept { return type_; }
  // Without a pre-release rule: every version of the range. With one: the
  // releases it holds (its pre-release keys do not count), beside the
  // pre-releases it holds.
  [[nodiscard]] const KeySet& releases() const noexcept { return releases_; }
  [[nodiscard]] const KeySet& prereleases() const noexcept { return prereleases_; }

  [[nodiscard]] std::expected<bool, RangeError> contains(std::string_view version) const;
  [[nodiscard]] bool contains(const TypedKey& key) const noexcept {
    return contains(key.key, key.prerelease);
  }
  // The version of an order key of the type's scheme, and whether it is a
  // pre-release (KeyFacts::prerelease).
  [[nodiscard]] bool contains(std::string_view key, bool prerelease) const noexcept;

  // The operations take ranges of one type; "all" and "none" go with any.
  [[nodiscard]] std::expected<VersionRange, RangeError> union_with(const VersionRange& o) const;
  [[nodiscard]] std::expected<VersionRange, RangeError> intersection(const VersionRange& o) const;
  [[nodiscard]] VersionRange complement() const;
  [[nodiscard]] std::expected<bool, RangeError> intersects(const VersionRange& o) const;
  // Whether every version of this range lies in `o`.
  [[nodiscard]] std::expected<bool, RangeError> subset(const VersionRange& o) const;
  // The same versions.
  [[nodiscard]] std::expected<bool, RangeError> same(const VersionRange& o) const;

 private:
  VersType type_;
  KeySet releases_;
  KeySet prereleases_;
};

// One constraint of a vers range: "=" for a bare version, "*" alone.
struct VersConstraint {
  std::string op;
  std::string version;  // percent-decoded
};

struct VersText {
  std::string type;
  std::vector<VersConstraint> constraints;
};

// Reads "vers:TYPE/CONSTRAINTS". Constraints out of order, repeated or
// redundant are put in order and simplified, as the notation's validation
// does; `strict` refuses every text that is not canonical instead.
[[nodiscard]] std::expected<VersText, RangeError> read_vers_text(std::string_view text,
                                                                 bool strict = false);
[[nodiscard]] std::expected<VersionRange, RangeError> read_vers(std::string_view text,
                                                                bool strict = false);
// The canonical constraints of a range, and its canonical vers text: ends in
// version order, each version once; an empty range is "vers:none/*". A range
// whose pre-releases its type's rule cannot tell from its ends is refused.
[[nodiscard]] std::expected<VersText, RangeError> vers_constraints(const VersionRange& range);
[[nodiscard]] std::expected<std::string, RangeError> write_vers(const VersionRange& range);
[[nodiscard]] std::string vers_string(const VersText& text);

// A range in the scheme's own syntax (scheme::read_range).
[[nodiscard]] std::expected<VersionRange, RangeError> read_native(std::string_view text, Scheme s,
                                                                  bool include_prerelease = false);
// The range in its scheme's own syntax, where that syntax can say it.
[[nodiscard]] std::expected<std::string, RangeError> write_native(const VersionRange& range);

}  // namespace tolva
