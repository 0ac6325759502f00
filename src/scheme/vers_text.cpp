#include <algorithm>
#include <array>

#include "tolva/scheme/version_range.hpp"

namespace tolva {
namespace {

using Family = VersType::Family;

// What a version must percent-encode: the notation's own characters, and
// every byte that is not printable ASCII.
bool must_encode(unsigned char c) noexcept {
  return c <= 0x20 || c >= 0x7F ||
         std::string_view("<>=!*|%").find(static_cast<char>(c)) != std::string_view::npos;
}

int hex_value(char c) noexcept {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::unexpected<RangeError> refused(std::string reason, std::string message) {
  return std::unexpected(RangeError{std::move(reason), std::move(message)});
}

std::expected<std::string, RangeError> percent_decoded(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '%') {
      if (must_encode(static_cast<unsigned char>(c))) {
        return refused("percent", "'" + std::string(1, c) + "' in the version '" +
                                      std::string(text) + "' must be percent-encoded");
      }
      out += c;
      continue;
    }
    const int high = i + 2 < text.size() ? hex_value(text[i + 1]) : -1;
    const int low = high >= 0 ? hex_value(text[i + 2]) : -1;
    if (low < 0) {
      return refused("percent", "'" + std::string(text.substr(i, 3)) +
                                    "' is not a percent-encoded byte (two upper-case hex digits)");
    }
    const auto byte = static_cast<unsigned char>(high * 16 + low);
    if (!must_encode(byte)) {
      return refused("percent", "'" + std::string(text.substr(i, 3)) + "' encodes '" +
                                    std::string(1, static_cast<char>(byte)) +
                                    "', which is written as itself");
    }
    out += static_cast<char>(byte);
    i += 2;
  }
  return out;
}

std::string percent_encoded(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (!must_encode(static_cast<unsigned char>(c))) {
      out += c;
      continue;
    }
    constexpr std::string_view digits = "0123456789ABCDEF";
    out += '%';
    out += digits[static_cast<unsigned char>(c) >> 4];
    out += digits[static_cast<unsigned char>(c) & 0xF];
  }
  return out;
}

constexpr std::array<std::string_view, 5> operators{">=", "<=", "!=", "<", ">"};

bool opens(std::string_view op) noexcept { return op == ">" || op == ">="; }
bool closes(std::string_view op) noexcept { return op == "<" || op == "<="; }

// Whether constraint `b` may follow `a` (neither "!="): after "=", "<" or
// "<=" comes "=", ">" or ">="; after ">" or ">=" comes "<" or "<=".
bool may_follow(std::string_view a, std::string_view b) noexcept {
  return opens(a) ? closes(b) : !closes(b);
}

struct Keyed {
  VersConstraint c;
  std::string key;
};

// Drops the redundant constraints of a list in version order: an end that
// a neighbour already says (">1|>=2" is ">1"; "<1|<2" is "<2").
void simplify(std::vector<Keyed>& list) {
  std::vector<Keyed> kept;
  for (Keyed& k : list) {
    if (k.c.op != "!=") {
      auto last = std::ranges::find_if(kept.rbegin(), kept.rend(),
                                       [](const Keyed& x) { return x.c.op != "!="; });
      while (last != kept.rend() && !opens(last->c.op) && closes(k.c.op)) {
        kept.erase(std::next(last).base());
        last = std::ranges::find_if(kept.rbegin(), kept.rend(),
                                    [](const Keyed& x) { return x.c.op != "!="; });
      }
      if (last != kept.rend() && opens(last->c.op) && !closes(k.c.op)) continue;
    }
    kept.push_back(std::move(k));
  }
  list = std::move(kept);
}

// The set a valid list in version order stands for.
KeySet set_of(const std::vector<Keyed>& list) {
  KeySet set;
  KeySet holes;
  std::optional<KeySet> open;
  bool bounded = false;
  for (const Keyed& k : list) {
    KeyPoint p{k.key, k.c.version};
    const std::string_view op = k.c.op;
    if (op == "!=") {
      holes = holes.union_with(KeySet::only(p));
      continue;
    }
    bounded = true;
    if (op == "=") {
      set = set.union_with(KeySet::only(p));
    } else if (opens(op)) {
      open = KeySet::at_least(p, op == ">=");
    } else {
      set = set.union_with(
          open.value_or(KeySet::everything()).intersection(KeySet::below(p, op == "<=")));
      open.reset();
    }
  }
  if (open) set = set.union_with(*open);
  if (!bounded) set = KeySet::everything();
  return set.intersection(holes.complement());
}

}  // namespace

std::expected<VersText, RangeError> read_vers_text(std::string_view text, bool strict) {
  if (const std::size_t blank = text.find_first_of(" \t\n\r\f\v");
      blank != std::string_view::npos) {
    return refused(
        "blank", "a vers range holds no blanks (one at column " + std::to_string(blank + 1) + ")");
  }
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos || text.substr(0, colon) != "vers") {
    return refused("scheme", "a vers range starts with 'vers:'");
  }
  const std::size_t slash = text.find('/', colon + 1);
  if (slash == std::string_view::npos) {
    return refused("slash", "a '/' ends the type of a vers range");
  }
  VersText out{std::string(text.substr(colon + 1, slash - colon - 1)), {}};
  const auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
  if (out.type.empty() || !letter(out.type[0]) || !std::ranges::all_of(out.type, [&](char c) {
        return letter(c) || (c >= '0' && c <= '9') || c == '.' || c == '-';
      })) {
    return refused("type", "'" + out.type +
                               "' is not a vers type: a letter, then letters, digits, '.' or '-'");
  }
  if (std::ranges::any_of(out.type, [](char c) { return c >= 'A' && c <= 'Z'; })) {
    if (strict) return refused("lowercase", "the type '" + out.type + "' is written in lower case");
    std::ranges::transform(out.type, out.type.begin(),
                           [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; });
  }
  const auto type = vers_type(out.type);
  if (!type) return refused("type", "'" + out.type + "' is not a vers type tolva knows");

  const std::string_view list = text.substr(slash + 1);
  if (list.empty()) return refused("empty", "a vers range has at least one constraint");
  if (list.front() == '|' || list.back() == '|' || list.find("||") != std::string_view::npos) {
    return refused(
        "pipe",
        "constraints are separated by one '|', with none before the first or after the last");
  }
  if (list == "*") {
    out.constraints.push_back({"*", ""});
    return out;
  }
  if (type->family == Family::all || type->family == Family::none) {
    return refused("star", "'vers:" + out.type + "/*' is the only range of its type");
  }
  std::vector<Keyed> keyed;
  for (std::size_t at = 0; at <= list.size();) {
    const std::size_t end = std::min(list.find('|', at), list.size());
    std::string_view item = list.substr(at, end - at);
    at = end + 1;
    if (item == "*") return refused("star", "'*' stands alone in a vers range");
    std::string op = "=";
    for (std::string_view o : operators) {
      if (item.starts_with(o)) {
        op = o;
        item.remove_prefix(o.size());
        break;
      }
    }
    if (item.empty()) return refused("empty", "the constraint '" + op + "' has no version");
    auto version = percent_decoded(item);
    if (!version) return std::unexpected(std::move(version.error()));
    if (type->family == Family::datetime && version->find_first_of("tz") != std::string::npos) {
      if (strict) return refused("datetime", "'" + *version + "' writes 'T' and 'Z' in upper case");
      std::ranges::transform(*version, version->begin(), [](char c) {
        return c == 't' ? 'T' : c == 'z' ? 'Z' : c;
      });
    }
    auto key = typed_key(*version, *type);
    if (!key) return std::unexpected(std::move(key.error()));
    keyed.push_back({{std::move(op), std::move(*version)}, std::move(key->key)});
  }

  const auto by_key = [](const Keyed& a, const Keyed& b) { return a.key < b.key; };
  if (!strict) {
    std::ranges::stable_sort(keyed, by_key);
    const auto repeated = std::ranges::unique(
        keyed, [](const Keyed& a, const Keyed& b) { return a.key == b.key && a.c.op == b.c.op; });
    keyed.erase(repeated.begin(), repeated.end());
  }
  for (std::size_t i = 1; i < keyed.size(); ++i) {
    if (keyed[i].key == keyed[i - 1].key) {
      return refused("duplicate", "the version '" + keyed[i].c.version + "' is named twice");
    }
    if (keyed[i].key < keyed[i - 1].key) {
      return refused("unsorted", "'" + keyed[i].c.version + "' comes before '" +
                                     keyed[i - 1].c.version + "' in version order");
    }
  }
  if (!strict) simplify(keyed);
  const Keyed* last = nullptr;
  for (const Keyed& k : keyed) {
    if (k.c.op == "!=") continue;
    if (last && !may_follow(last->c.op, k.c.op)) {
      return refused("sequence",
                     "'" + percent_encoded(k.c.version) + "' with '" + k.c.op +
                         "' may not follow '" + last->c.op + last->c.version +
                         "': ends alternate, and '=' comes only where no interval is open");
    }
    last = &k;
  }
  for (Keyed& k : keyed) out.constraints.push_back(std::move(k.c));
  return out;
}

std::expected<VersionRange, RangeError> read_vers(std::string_view text, bool strict) {
  auto read = read_vers_text(text, strict);
  if (!read) return std::unexpected(std::move(read.error()));
  const VersType type = *vers_type(read->type);
  if (read->constraints.front().op == "*") {
    return VersionRange(type, type.family == Family::none ? KeySet{} : KeySet::everything());
  }
  std::vector<Keyed> keyed;
  for (VersConstraint& c : read->constraints) {
    auto key = typed_key(c.version, type);
    keyed.push_back({std::move(c), std::move(key->key)});
  }
  return VersionRange(type, set_of(keyed));
}

std::expected<VersText, RangeError> vers_constraints(const VersionRange& range) {
  const VersType& type = range.type();
  if (type.family == Family::all || type.family == Family::none) {
    return VersText{std::string(type.name), {{"*", ""}}};
  }
  KeySet set = existing(range.releases(), type);
  // Below the least version there is nothing to leave out: ">=0.0.0-0" is
  // "*", and so is npm's ">=0.0.0", whose releases are all it counts there;
  // the least version alone stays "=".
  if (auto least = least_version(type); least && !set.empty()) {
    if (type.prerelease_rule) least = KeyPoint{typed_key("0.0.0", type)->key, "0.0.0"};
    const auto& first = set.intervals().front();
    const bool alone = first.high && first.high->closed && first.high->point.key == least->key;
    if (set.contains(least->key) && !alone) set = set.union_with(KeySet::below(*least, false));
  }
  if (type.prerelease_rule) {
    auto said = range.same(VersionRange(type, set));
    if (said && !*said) {
      return refused("prerelease",
                     "the pre-releases of this range are not those its ends let in, "
                     "which is all a " +
                         std::string(type.name) + " range can say");
    }
  }
  // Without releases, a rule type's range may still hold pre-releases, which
  // the check above refuses.
  if (set.empty()) return VersText{"none", {{"*", ""}}};
  VersText out{std::string(type.name), {}};
  if (set.is_everything()) {
    out.constraints.push_back({"*", ""});
    return out;
  }
  const auto intervals = set.intervals();
  // An end names no version without a text, or where its text's version
  // lies below it: a bound past a version's build metadata (cargo's
  // '<=1.0.0') has versions between the two.
  const auto unnamed = [&](const std::optional<KeySet::End>& e) {
    if (!e) return false;
    if (e->point.text.empty()) return true;
    auto key = typed_key(e->point.text, type);
    return !key || key->key < e->point.key;
  };
  if (std::ranges::any_of(intervals,
                          [&](const auto& i) { return unnamed(i.low) || unnamed(i.high); })) {
    return refused("unnamed", "an end of this range lies between " + std::string(type.name) +
                                  " versions with no least one above it to name");
  }
  for (std::size_t i = 0; i < intervals.size(); ++i) {
    const KeySet::Interval& v = intervals[i];
    if (v.low && v.high && v.low->closed && v.high->closed &&
        v.low->point.key == v.high->point.key) {
      out.constraints.push_back({"=", v.low->point.text});
      continue;
    }
    // A version missing between two intervals is a hole in one.
    const bool hole_before = i > 0 && v.low && !v.low->closed && intervals[i - 1].high &&
                             !intervals[i - 1].high->closed &&
                             intervals[i - 1].high->point.key == v.low->point.key;
    if (v.low && !hole_before)
      out.constraints.push_back({v.low->closed ? ">=" : ">", v.low->point.text});
    if (!v.high) continue;
    const bool hole_after = i + 1 < intervals.size() && !v.high->closed && intervals[i + 1].low &&
                            !intervals[i + 1].low->closed &&
                            intervals[i + 1].low->point.key == v.high->point.key;
    out.constraints.push_back({hole_after       ? "!="
                               : v.high->closed ? "<="
                                                : "<",
                               v.high->point.text});
  }
  return out;
}

std::string vers_string(const VersText& text) {
  std::string out = "vers:" + text.type + "/";
  for (std::size_t i = 0; i < text.constraints.size(); ++i) {
    const VersConstraint& c = text.constraints[i];
    if (i > 0) out += '|';
    if (c.op == "*") {
      out += '*';
      continue;
    }
    if (c.op != "=") out += c.op;
    out += percent_encoded(c.version);
  }
  return out;
}

std::expected<std::string, RangeError> write_vers(const VersionRange& range) {
  auto text = vers_constraints(range);
  if (!text) return std::unexpected(std::move(text.error()));
  return vers_string(*text);
}

}  // namespace tolva
