#include <algorithm>

#include "tolva/scheme/version_range.hpp"

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

// The pre-releases a rule type's interval set holds when each interval is
// read as one alternative of its ends.
KeySet admitted_by_ends(const KeySet& set, const VersType& type) {
  KeySet out;
  for (const KeySet::Interval& i : set.intervals()) {
    KeySet one;
    one = KeySet::everything();
    if (i.low) one = one.intersection(KeySet::at_least(i.low->point, i.low->closed));
    if (i.high) one = one.intersection(KeySet::below(i.high->point, i.high->closed));
    std::vector<std::string_view> ends;
    if (i.low) ends.push_back(i.low->point.text);
    if (i.high) ends.push_back(i.high->point.text);
    out = out.union_with(admitted(one, ends, type));
  }
  return out;
}

// Whether a set holds a release, for a rule type: every interval does but one
// that lies within the pre-releases of one release.
bool holds_release(const KeySet& set, const VersType& type) {
  return std::ranges::any_of(set.intervals(), [&](const KeySet::Interval& i) {
    if (!i.low || !i.high || !is_prerelease(i.low->point.text)) return true;
    auto release = typed_key(release_of(i.low->point.text), type);
    if (!release) return true;
    const auto order = i.high->point.key.compare(release->key) <=> 0;
    return order > 0 || (order == 0 && i.high->closed);
  });
}

// Whether a set holds a pre-release: every interval does but a release alone.
bool holds_prerelease(const KeySet& set) {
  return std::ranges::any_of(set.intervals(), [](const KeySet::Interval& i) {
    return !i.low || !i.high || i.low->point.key != i.high->point.key ||
           is_prerelease(i.low->point.text);
  });
}

// The releases of a rule type's set, with the gaps between its intervals that
// hold no release filled: ^1 and ^2 make one interval of releases, though the
// pre-releases of 2.0.0 lie between them.
KeySet without_release_gaps(const KeySet& set, const VersType& type) {
  const KeySet gaps = existing(set.complement(), type);
  KeySet filled = set;
  for (const KeySet::Interval& gap : gaps.intervals()) {
    KeySet one = KeySet::everything();
    if (gap.low) one = one.intersection(KeySet::at_least(gap.low->point, gap.low->closed));
    if (gap.high) one = one.intersection(KeySet::below(gap.high->point, gap.high->closed));
    if (!holds_release(one, type)) filled = filled.union_with(one);
  }
  return filled;
}

KeySet from_least(KeySet set, const VersType& type) { return existing(std::move(set), type); }

RangeError type_mismatch(const VersType& a, const VersType& b) {
  return {"type", "a " + std::string(a.name) + " range and a " + std::string(b.name) +
                      " range do not combine"};
}

// The two ranges under one type: "all" and "none" take the other's.
std::expected<std::pair<VersionRange, VersionRange>, RangeError> aligned(const VersionRange& a,
                                                                         const VersionRange& b) {
  auto as = [](const VersionRange& r, const VersType& t) {
    const bool every = r.type().family == Family::all;
    return VersionRange(t, every ? KeySet::everything() : KeySet{},
                        every ? KeySet::everything() : KeySet{});
  };
  const auto generic = [](const VersType& t) {
    return t.family == Family::all || t.family == Family::none;
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
  if (type.family == Family::scheme && type.scheme == Scheme::semver) text = "0.0.0-0";
  if (text.empty()) return std::nullopt;
  return KeyPoint{typed_key(text, type)->key, std::string(text)};
}

KeySet existing(KeySet set, const VersType& type) {
  if (auto least = least_version(type)) return set.intersection(KeySet::at_least(*least, true));
  return set;
}

VersionRange::VersionRange(VersType type, KeySet versions)
    : type_(type), releases_(versions), prereleases_(std::move(versions)) {
  if (type_.prerelease_rule) {
    prereleases_ = admitted_by_ends(releases_, type_);
    releases_ = without_release_gaps(releases_, type_);
  }
}

VersionRange::VersionRange(VersType type, KeySet releases, KeySet prereleases)
    : type_(type), releases_(std::move(releases)), prereleases_(std::move(prereleases)) {
  if (type_.prerelease_rule) releases_ = without_release_gaps(releases_, type_);
}

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
  return VersionRange(a.type_, a.releases_.union_with(b.releases_),
                      a.prereleases_.union_with(b.prereleases_));
}

std::expected<VersionRange, RangeError> VersionRange::intersection(const VersionRange& o) const {
  auto both = aligned(*this, o);
  if (!both) return std::unexpected(std::move(both.error()));
  auto& [a, b] = *both;
  return VersionRange(a.type_, a.releases_.intersection(b.releases_),
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
  const VersType& type = met->type_;
  if (type.family == Family::all) return true;
  const KeySet releases = from_least(met->releases_, type);
  if (!type.prerelease_rule) return !releases.empty();
  return holds_release(releases, type) || holds_prerelease(from_least(met->prereleases_, type));
}

std::expected<bool, RangeError> VersionRange::subset(const VersionRange& o) const {
  auto both = aligned(*this, o);
  if (!both) return std::unexpected(std::move(both.error()));
  auto& [a, b] = *both;
  if (a.type_.family == Family::all || a.type_.family == Family::none) {
    return a.type_.family == Family::none || b.type_.family == Family::all;
  }
  const KeySet releases = from_least(a.releases_.intersection(b.releases_.complement()), a.type_);
  if (!a.type_.prerelease_rule) return releases.empty();
  const KeySet prereleases =
      from_least(a.prereleases_.intersection(b.prereleases_.complement()), a.type_);
  return !holds_release(releases, a.type_) && !holds_prerelease(prereleases);
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
  // A bound that names no version, or that a scheme built as a span of keys
  // (RangeOp::outside), cannot be an end of a set written back: refuse it
  // rather than answer for a different range.
  for (const auto& alternative : native->alternatives) {
    for (const KeyBound& b : alternative) {
      if (b.text.empty() || b.op == Op::outside) {
        return std::unexpected(RangeError{
            "scheme", std::string(scheme::name(s)) + " ranges are not sets of versions yet"});
      }
    }
  }
  KeySet releases, prereleases;
  for (const auto& alternative : native->alternatives) {
    KeySet one = KeySet::everything();
    std::vector<std::string_view> ends;
    for (const KeyBound& b : alternative) {
      KeyPoint p{b.key, b.text};
      switch (b.op) {
        case Op::less: one = one.intersection(KeySet::below(p, false)); break;
        case Op::less_equal: one = one.intersection(KeySet::below(p, true)); break;
        case Op::greater: one = one.intersection(KeySet::at_least(p, false)); break;
        case Op::greater_equal: one = one.intersection(KeySet::at_least(p, true)); break;
        case Op::equal: one = one.intersection(KeySet::only(p)); break;
        case Op::not_equal: one = one.intersection(KeySet::only(p).complement()); break;
        case Op::outside: break;  // refused above
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
