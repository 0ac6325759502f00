#include <algorithm>

#include "tolva/scheme/version_range.hpp"

#include "row.hpp"

namespace tolva {
namespace {

using Family = VersType::Family;
using Op = RangeOp;

// The release a pre-release text of a rule type comes before: its
// major.minor.patch.
std::string_view release_of(std::string_view text) noexcept {
  return text.substr(0, std::min(text.find('-'), text.find('+')));
}

bool is_prerelease(std::string_view text) noexcept {
  const std::size_t hyphen = text.find('-');
  return hyphen != std::string_view::npos && hyphen < text.find('+');
}

KeyPoint point_of(std::string key, std::string_view text) {
  return {std::move(key), std::string(text)};
}

// The pre-releases of a release, from its least ("-0") up to it.
KeySet prereleases_of(std::string_view release, const VersType& type) {
  const std::string least = std::string(release) + "-0";
  auto low = typed_key(least, type);
  auto high = typed_key(release, type);
  if (!low || !high) return {};
  return KeySet::at_least(point_of(std::move(low->key), least), true)
      .intersection(KeySet::below(point_of(std::move(high->key), release), false));
}

// The pre-releases that ends naming pre-releases let into `set`: those of
// the same release as such an end.
KeySet admitted(const KeySet& set, const std::vector<std::string_view>& ends,
                const VersType& type) {
  KeySet releases;
  for (std::string_view end : ends) {
    if (is_prerelease(end)) releases = releases.union_with(prereleases_of(release_of(end), type));
  }
  return set.intersection(releases);
}

// The keys of one interval.
KeySet set_of(const KeySet::Interval& i) {
  KeySet one = KeySet::everything();
  if (i.low) one = one.intersection(KeySet::at_least(i.low->point, i.low->closed));
  if (i.high) one = one.intersection(KeySet::below(i.high->point, i.high->closed));
  return one;
}

// The pre-releases a rule type's interval set holds when each interval is
// read as one alternative of its ends.
KeySet admitted_by_ends(const KeySet& set, const VersType& type) {
  KeySet out;
  for (const KeySet::Interval& i : set.intervals()) {
    const KeySet one = set_of(i);
    std::vector<std::string_view> ends;
    if (i.low) ends.push_back(i.low->point.text);
    if (i.high) ends.push_back(i.high->point.text);
    out = out.union_with(admitted(one, ends, type));
  }
  return out;
}

// Which versions of a set count: every one, or (for a rule type) its
// releases or its pre-releases alone.
enum class Counted : std::uint8_t { any, release, prerelease };

bool of_kind(std::string_view text, Counted kind) noexcept {
  return kind == Counted::any || is_prerelease(text) == (kind == Counted::prerelease);
}

// The least SemVer version of `kind` above `text`: a pre-release's release,
// or the pre-release with one more identifier, "0", the least there is; a
// release's next patch, or that patch's least pre-release.
std::optional<std::string> semver_next(std::string_view text, Counted kind) {
  text = text.substr(0, text.find('+'));
  if (is_prerelease(text)) {
    if (kind == Counted::release) return std::string(release_of(text));
    return std::string(text) + ".0";
  }
  const std::size_t dot = text.rfind('.');
  if (dot == std::string_view::npos || dot + 1 == text.size()) return std::nullopt;
  const std::string_view patch = text.substr(dot + 1);
  if (!std::ranges::all_of(patch, [](char c) { return c >= '0' && c <= '9'; })) return std::nullopt;
  std::string next = std::string(text.substr(0, dot + 1)) + scheme::detail::plus_one(patch);
  if (kind != Counted::release) next += "-0";
  return next;
}

// Whether a cargo end steps as SemVer's do. Cargo orders build metadata, so
// versions lie as close above a version as one likes; but not above an end
// past all of its builds (a '>' or '<=' bound), nor between a pre-release and
// its release, where the least release is.
bool cargo_steps(const KeyPoint& p, const VersType& type, Counted kind) {
  if (type.scheme != Scheme::cargo) return false;
  auto at = typed_key(p.text, type);
  return (at && at->key < p.key) || (kind == Counted::release && is_prerelease(p.text));
}

// The key of the least version of `kind` above the version at `p`, where the
// type's order has one; none where versions lie as close above it as one
// likes (or the text is not one this steps from).
std::optional<std::string> next_key(const KeyPoint& p, const VersType& type, Counted kind) {
  switch (type.family) {
    case Family::lexicographic: return p.key + '\0';
    // One more number, 0: "1" is followed by "1.0".
    case Family::intdot: return p.key + std::string("\x01\0\0\0\0", 5);
    case Family::scheme:
      if (type.scheme == Scheme::semver || cargo_steps(p, type, kind)) {
        auto text = semver_next(p.text, kind);
        if (!text) return std::nullopt;
        auto key = typed_key(*text, type);
        if (!key) return std::nullopt;
        return std::move(key->key);
      }
      return std::nullopt;
    default: return std::nullopt;
  }
}

// The key of the least version of `kind` of the type, where it has one.
std::optional<std::string> least_key(const VersType& type, Counted kind) {
  if (kind == Counted::release && type.prerelease_rule) return typed_key("0.0.0", type)->key;
  if (auto least = least_version(type)) return std::move(least->key);
  return std::nullopt;
}

// Whether an interval holds a version of `kind`: whether the least such
// version at or above its low end lies within its high end.
bool holds(const KeySet::Interval& i, const VersType& type, Counted kind) {
  std::optional<std::string> from;
  if (!i.low) {
    from = least_key(type, kind);
  } else if (i.low->closed && of_kind(i.low->point.text, kind)) {
    // The version the end names, which may lie above a key between versions.
    if (auto at = typed_key(i.low->point.text, type)) from = std::move(at->key);
  } else {
    from = next_key(i.low->point, type, kind);
  }
  if (!from || !i.high) return true;
  const auto order = from->compare(i.high->point.key) <=> 0;
  return order < 0 || (order == 0 && i.high->closed);
}

// The set with its intervals that hold no version of `kind` dropped, and the
// gaps between them that hold none filled: so a set is empty exactly when it
// holds no version, and each gap between two intervals holds one. ^1 and ^2
// of npm make one interval of releases, though the pre-releases of 2.0.0 lie
// between them; >1 and <1.0 of intdot make none.
KeySet exact(const KeySet& set, const VersType& type, Counted kind) {
  KeySet out;
  const KeySet::Interval* last = nullptr;
  for (const KeySet::Interval& i : set.intervals()) {
    if (!holds(i, type, kind)) continue;
    if (last) {
      const KeySet::Interval gap{KeySet::End{last->high->point, !last->high->closed},
                                 KeySet::End{i.low->point, !i.low->closed}};
      if (!holds(gap, type, kind)) out = out.union_with(set_of(gap));
    }
    out = out.union_with(set_of(i));
    last = &i;
  }
  return out;
}

Counted releases_kind(const VersType& type) {
  return type.prerelease_rule ? Counted::release : Counted::any;
}

// The versions below a bound's key: below its text's version, or up to it
// where the text names the greatest version below the key.
KeySet below_end(const KeyPoint& p, const VersType& type) {
  if (!p.text.empty()) {
    if (auto at = typed_key(p.text, type); at && at->key < p.key) {
      return KeySet::below({std::move(at->key), p.text}, true);
    }
  }
  return KeySet::below(p, false);
}

RangeError type_mismatch(const VersType& a, const VersType& b) {
  return {"type", "a " + std::string(a.name) + " range and a " + std::string(b.name) +
                      " range do not combine"};
}

bool generic(const VersType& t) noexcept {
  return t.family == Family::all || t.family == Family::none;
}

// The range of a union or intersection; of two generic ranges, "all" or
// "none" by what it holds.
VersionRange combined(const VersType& type, KeySet releases, KeySet prereleases) {
  if (!generic(type)) return VersionRange(type, std::move(releases), std::move(prereleases));
  const VersType every = *vers_type(releases.empty() ? "none" : "all");
  return VersionRange(every, std::move(releases), std::move(prereleases));
}

// The two ranges under one type: "all" and "none" take the other's.
std::expected<std::pair<VersionRange, VersionRange>, RangeError> aligned(const VersionRange& a,
                                                                         const VersionRange& b) {
  auto as = [](const VersionRange& r, const VersType& t) {
    const bool every = r.type().family == Family::all;
    return VersionRange(t, every ? KeySet::everything() : KeySet{},
                        every ? KeySet::everything() : KeySet{});
  };
  if (generic(a.type()) && !generic(b.type())) return std::pair{as(a, b.type()), b};
  if (generic(b.type())) return std::pair{a, as(b, a.type())};
  if (a.type().name != b.type().name) return std::unexpected(type_mismatch(a.type(), b.type()));
  return std::pair{a, b};
}

}  // namespace

std::optional<KeyPoint> least_version(const VersType& type) {
  std::string_view text;
  if (type.family == Family::intdot) text = "0";
  if (type.family == Family::scheme &&
      (type.scheme == Scheme::semver || type.scheme == Scheme::cargo))
    text = "0.0.0-0";
  if (type.family == Family::scheme && type.scheme == Scheme::pypi) text = "0.dev0";
  if (text.empty()) return std::nullopt;
  return KeyPoint{typed_key(text, type)->key, std::string(text)};
}

KeySet existing(KeySet set, const VersType& type) {
  if (auto least = least_version(type)) return set.intersection(KeySet::at_least(*least, true));
  return set;
}

VersionRange::VersionRange(VersType type, KeySet versions)
    : type_(type), releases_(std::move(versions)) {
  if (type_.prerelease_rule)
    prereleases_ = exact(admitted_by_ends(releases_, type_), type_, Counted::prerelease);
  releases_ = exact(releases_, type_, releases_kind(type_));
  if (!type_.prerelease_rule) prereleases_ = releases_;
}

VersionRange::VersionRange(VersType type, KeySet releases, KeySet prereleases)
    : type_(type),
      releases_(exact(releases, type_, releases_kind(type_))),
      prereleases_(type_.prerelease_rule ? exact(prereleases, type_, Counted::prerelease)
                                         : releases_) {}

bool VersionRange::contains(std::string_view key, bool prerelease) const noexcept {
  switch (type_.family) {
    case Family::all: return true;
    case Family::none: return false;
    default: break;
  }
  return (prerelease && type_.prerelease_rule ? prereleases_ : releases_).contains(key);
}

std::expected<bool, RangeError> VersionRange::contains(std::string_view version) const {
  auto key = typed_key(version, type_);
  if (!key) return std::unexpected(std::move(key.error()));
  return contains(*key);
}

std::expected<VersionRange, RangeError> VersionRange::union_with(const VersionRange& o) const {
  auto both = aligned(*this, o);
  if (!both) return std::unexpected(std::move(both.error()));
  auto& [a, b] = *both;
  return combined(a.type_, a.releases_.union_with(b.releases_),
                  a.prereleases_.union_with(b.prereleases_));
}

std::expected<VersionRange, RangeError> VersionRange::intersection(const VersionRange& o) const {
  auto both = aligned(*this, o);
  if (!both) return std::unexpected(std::move(both.error()));
  auto& [a, b] = *both;
  return combined(a.type_, a.releases_.intersection(b.releases_),
                  a.prereleases_.intersection(b.prereleases_));
}

VersionRange VersionRange::complement() const {
  VersType type = type_;
  if (type.family == Family::all || type.family == Family::none) {
    type = *vers_type(type.family == Family::all ? "none" : "all");
  }
  return VersionRange(type, releases_.complement(), prereleases_.complement());
}

std::expected<bool, RangeError> VersionRange::intersects(const VersionRange& o) const {
  auto met = intersection(o);
  if (!met) return std::unexpected(std::move(met.error()));
  return !met->releases_.empty() || !met->prereleases_.empty();
}

std::expected<bool, RangeError> VersionRange::subset(const VersionRange& o) const {
  auto outside = intersection(o.complement());
  if (!outside) return std::unexpected(std::move(outside.error()));
  return outside->releases_.empty() && outside->prereleases_.empty();
}

std::expected<bool, RangeError> VersionRange::same(const VersionRange& o) const {
  auto within = subset(o);
  if (!within || !*within) return within;
  return o.subset(*this);
}

std::expected<VersionRange, RangeError> read_native(std::string_view text, Scheme s,
                                                    bool include_prerelease) {
  const auto type = vers_type(s);
  if (!type) {
    return std::unexpected(RangeError{"scheme", "tolva's own ranges are not sets of keys"});
  }
  auto native = scheme::read_range(text, s, include_prerelease);
  if (!native) {
    const auto& e = native.error();
    std::string message = std::string("'").append(text).append("' is not a ");
    message.append(scheme::name(s)).append(" range (at column ");
    return std::unexpected(RangeError{"range", message + std::to_string(e.span.start + 1) + ")"});
  }
  KeySet releases, prereleases;
  for (const auto& alternative : native->alternatives) {
    KeySet one = KeySet::everything();
    std::vector<std::string_view> ends;
    for (const KeyBound& b : alternative) {
      const KeyPoint p{b.key, b.text};
      switch (b.op) {
        case Op::less: one = one.intersection(below_end(p, *type)); break;
        case Op::less_equal: one = one.intersection(KeySet::below(p, true)); break;
        case Op::greater: one = one.intersection(KeySet::at_least(p, false)); break;
        case Op::greater_equal: one = one.intersection(KeySet::at_least(p, true)); break;
        case Op::equal: one = one.intersection(KeySet::only(p)); break;
        case Op::not_equal: one = one.intersection(KeySet::only(p).complement()); break;
        case Op::outside:
          one = one.intersection(
              below_end(p, *type).union_with(KeySet::at_least({b.upper, b.upper_text}, true)));
          break;
      }
      if (b.admits) ends.push_back(b.text);
    }
    releases = releases.union_with(one);
    prereleases = prereleases.union_with(
        type->prerelease_rule && !include_prerelease ? admitted(one, ends, *type) : one);
  }
  return VersionRange(*type, std::move(releases), std::move(prereleases));
}

}  // namespace tolva
