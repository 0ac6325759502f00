// The cargo scheme: SemVer 2.0.0 text with numbers that fit 64 bits,
// ordered by SemVer precedence, then build metadata, and requirements: comparators joined by
// commas, a bare version meaning
// '^', and pre-releases matched only by a comparator naming a pre-release of
// their own major.minor.patch.
#include <array>
#include <optional>

#include "row.hpp"
#include "semver.hpp"

namespace tolva::scheme::detail {
namespace {

using P = grammar::ExpectedPattern;
using key_bytes::is_digit;
using Op = grammar::RangeOperator;

constexpr std::string_view shown_u64 = "a number up to 18446744073709551615";
constexpr std::string_view shown_comma = "','";
constexpr std::string_view shown_alone = "'*' as the whole requirement";
constexpr std::string_view shown_number_or_wildcard = "number or '*'";
constexpr P u64_number{shown_u64};
constexpr P comma{shown_comma};
constexpr P alone{shown_alone};
constexpr P number_or_wildcard{shown_number_or_wildcard};

bool fits_u64(std::string_view digits) noexcept {
  return digits.size() < 20 || (digits.size() == 20 && digits <= "18446744073709551615");
}

// The first of the three numbers that does not fit 64 bits, as an offset.
std::optional<std::size_t> too_large(std::string_view text, const semver::Parts& v) noexcept {
  for (std::string_view n : {v.major, v.minor, v.patch}) {
    if (!fits_u64(n)) return static_cast<std::size_t>(n.data() - text.data());
  }
  return std::nullopt;
}

std::expected<semver::Parts, ParseError> read(std::string_view text) {
  auto v = semver::read(text);
  if (!v) return v;
  if (auto at = too_large(text, *v))
    return std::unexpected(grammar::failure_at(text, *at, {u64_number}));
  return v;
}

// Dot-separated identifiers: a number as 1, its value, and (for build
// metadata, where leading zeros count) its length; a word as 2 and its
// text; then 0, below either, so fewer identifiers come first.
template <class Sink>
void put_identifiers(Sink& out, std::string_view ids, bool lengths) {
  while (!ids.empty()) {
    const std::size_t dot = std::min(ids.find('.'), ids.size());
    const std::string_view id = ids.substr(0, dot);
    const bool number = id.find_first_not_of("0123456789") == std::string_view::npos;
    out.put(static_cast<std::uint8_t>(number ? 1 : 2));
    if (number) {
      key_bytes::put_number(out, id);
      if (lengths) key_bytes::put_count(out, id.size());
    } else {
      key_bytes::put_text(out, id);
      out.put(key_bytes::end);
    }
    ids.remove_prefix(dot == ids.size() ? dot : dot + 1);
  }
  out.put(std::uint8_t{0});
}

// The key: the three numbers; 1 and the pre-release's identifiers, or 2 for
// a release; the build metadata's identifiers.
Keyed append_cargo_key(std::string& out, std::string_view text, const Order&) {
  auto v = read(text);
  if (!v) return std::unexpected(std::move(v.error()));
  KeyFacts facts{!v->prerelease.empty(), 0};
  key_bytes::append_key(out, 2 * text.size() + 8, [&](key_bytes::Room& room) {
    const char* start = room.at();
    key_bytes::put_number(room, v->major);
    key_bytes::put_number(room, v->minor);
    key_bytes::put_number(room, v->patch);
    facts.release = static_cast<std::uint32_t>(room.at() - start);
    room.put(static_cast<std::uint8_t>(v->prerelease.empty() ? 2 : 1));
    if (!v->prerelease.empty()) put_identifiers(room, v->prerelease, false);
    put_identifiers(room, v->build, true);
  });
  return facts;
}

std::size_t cargo_key_size_bound(std::size_t size, const Order&) noexcept { return 2 * size + 8; }

std::expected<std::vector<Field>, ParseError> cargo_fields(std::string_view text, const Order&) {
  auto v = read(text);
  if (!v) return std::unexpected(std::move(v.error()));
  auto number = [](std::string_view name, std::string_view digits) {
    return Field{name, Field::Form::number, std::string(digits), {}};
  };
  auto identifiers = [](std::string_view name, std::string_view ids) {
    Field f{name, ids.empty() ? Field::Form::absent : Field::Form::list, {}, {}};
    while (!ids.empty()) {
      const std::size_t dot = std::min(ids.find('.'), ids.size());
      f.items.emplace_back(ids.substr(0, dot));
      ids.remove_prefix(dot == ids.size() ? dot : dot + 1);
    }
    return f;
  };
  return std::vector<Field>{number("major", v->major), number("minor", v->minor),
                            number("patch", v->patch), identifiers("prerelease", v->prerelease),
                            identifiers("build", v->build)};
}

// An operand: up to three numbers (`known` of them written, the rest left
// out or wildcards), a pre-release only after all three.
struct Partial {
  std::array<std::string_view, 3> numbers{"0", "0", "0"};
  int known = 0;
  std::string_view prerelease;
};

bool is_wildcard(std::string_view s) noexcept { return s == "*" || s == "x" || s == "X"; }

std::expected<Partial, ParseError> partial(std::string_view s) {
  Partial p;
  if (s.find_first_of("-+") != std::string_view::npos) {
    auto v = read(s);
    if (!v) return std::unexpected(std::move(v.error()));
    return Partial{{v->major, v->minor, v->patch}, 3, v->prerelease};
  }
  bool wild = false;
  std::size_t at = 0;
  for (int i = 0; i < 3; ++i) {
    const std::size_t dot = std::min(s.find('.', at), s.size());
    const std::string_view n = s.substr(at, dot - at);
    if (is_wildcard(n) && i > 0) {
      wild = true;
    } else if (wild || n.empty() || n.find_first_not_of("0123456789") != n.npos ||
               (n.size() > 1 && n[0] == '0')) {
      return std::unexpected(grammar::failure_at(s, at, {number_or_wildcard}));
    } else if (!fits_u64(n)) {
      return std::unexpected(grammar::failure_at(s, at, {u64_number}));
    } else {
      p.numbers[static_cast<std::size_t>(i)] = n;
      ++p.known;
    }
    if (dot == s.size()) return p;
    at = dot + 1;
  }
  return std::unexpected(grammar::failure_at(s, at - 1, {P::EndOfInput}));
}

KeyBound bound(RangeOp op, std::string_view major, std::string_view minor, std::string_view patch,
               std::string_view prerelease = {}, bool lowest = false) {
  // "-0" is the least pre-release of a release: a bound below it is below
  // every one.
  if (lowest) prerelease = "0";
  // The bound's version; a '>' or '<=' bound lies past that version's builds,
  // where no version text is, and a set written as vers refuses it.
  std::string text = std::string(major).append(".").append(minor).append(".").append(patch);
  if (!prerelease.empty()) text.append("-").append(prerelease);
  KeyBound b{op, {}, {}, {}, std::move(text), {}};
  key_bytes::WholeKey out(b.key);
  key_bytes::put_number(out, major);
  key_bytes::put_number(out, minor);
  key_bytes::put_number(out, patch);
  out.put(static_cast<std::uint8_t>(prerelease.empty() ? 2 : 1));
  if (!prerelease.empty()) put_identifiers(out, prerelease, false);
  // Build metadata is no part of a requirement: a bound on a release lies
  // at the version without any (>=, <, the version's own key) or above all
  // of that release's (>, <=).
  const bool above = op == RangeOp::greater || op == RangeOp::less_equal;
  out.put(static_cast<std::uint8_t>(above ? 0xFF : 0));
  return b;
}

// The bounds of one comparator, appended to `out`.
void add_bounds(std::vector<KeyBound>& out, Op o, const Partial& p) {
  const auto& [major, minor, patch] = p.numbers;
  const std::string next_major = plus_one(major), next_minor = plus_one(minor);
  const std::string next_patch = plus_one(patch);
  // The releases that share the written numbers: from the first to below the
  // next (pre-releases of the next included).
  auto equal = [&] {
    out.push_back(bound(RangeOp::greater_equal, major, minor, patch, p.prerelease));
    if (p.known == 1) out.push_back(bound(RangeOp::less, next_major, "0", "0", {}, true));
    if (p.known == 2) out.push_back(bound(RangeOp::less, major, next_minor, "0", {}, true));
    if (p.known == 3) out.push_back(bound(RangeOp::less_equal, major, minor, patch, p.prerelease));
  };
  if (o == Op::equal) {
    equal();
  } else if (o == Op::greater) {
    if (p.known == 3) out.push_back(bound(RangeOp::greater, major, minor, patch, p.prerelease));
    if (p.known == 2) out.push_back(bound(RangeOp::greater_equal, major, next_minor, "0"));
    if (p.known == 1) out.push_back(bound(RangeOp::greater_equal, next_major, "0", "0"));
  } else if (o == Op::greater_equal) {
    out.push_back(bound(RangeOp::greater_equal, major, minor, patch, p.prerelease));
  } else if (o == Op::less) {
    out.push_back(bound(RangeOp::less, major, minor, patch, p.prerelease, p.known < 3));
  } else if (o == Op::less_equal) {
    if (p.known == 3) out.push_back(bound(RangeOp::less_equal, major, minor, patch, p.prerelease));
    if (p.known == 2) out.push_back(bound(RangeOp::less, major, next_minor, "0", {}, true));
    if (p.known == 1) out.push_back(bound(RangeOp::less, next_major, "0", "0", {}, true));
  } else if (o == Op::tilde || p.known == 1 || (major == "0" && (p.known == 2 || minor == "0"))) {
    // ~I.J.K, and ^ where only the last written number may change: within
    // I.J when a minor is written, else within I.
    if (p.known < 3) return equal();
    out.push_back(bound(RangeOp::greater_equal, major, minor, patch, p.prerelease));
    if (o == Op::caret && minor == "0") {
      out.push_back(bound(RangeOp::less, major, minor, next_patch, {}, true));
    } else {
      out.push_back(bound(RangeOp::less, major, next_minor, "0", {}, true));
    }
  } else {
    // ^I.J.K: below the next number left of the first non-zero one.
    out.push_back(bound(RangeOp::greater_equal, major, minor, patch, p.prerelease));
    if (major != "0")
      out.push_back(bound(RangeOp::less, next_major, "0", "0", {}, true));
    else
      out.push_back(bound(RangeOp::less, major, next_minor, "0", {}, true));
  }
}

constexpr std::array<Op, 7> operators{Op::equal,      Op::greater, Op::greater_equal, Op::less,
                                      Op::less_equal, Op::tilde,   Op::caret};

// Whether a comparator `op p` holds back the pre-releases of `release`
// within its bounds: =, ~, >= and <= with numbers left out hold back those
// whose written numbers they share.
bool holds_back(Op op, const Partial& p, const Partial& release) noexcept {
  if (p.known == 3 || op == Op::caret || op == Op::greater || op == Op::less) return false;
  for (std::size_t i = 0; i < static_cast<std::size_t>(p.known); ++i) {
    if (p.numbers[i] != release.numbers[i]) return false;
  }
  return true;
}

Read read_cargo_range(grammar::RangeText& in, const Order&, KeyRange& out) {
  auto& bounds = out.alternatives.emplace_back();
  // Each comparator's operand, and the index of its first bound.
  struct Operand {
    Op op;
    Partial p;
    std::size_t first_bound;
  };
  std::vector<Operand> operands;
  // Pre-releases are let in only where no comparator holds them back.
  auto settle = [&] {
    for (const Operand& named : operands) {
      for (const Operand& other : operands) {
        if (!named.p.prerelease.empty() && holds_back(other.op, other.p, named.p)) {
          bounds[named.first_bound].admits.reset();
        }
      }
    }
  };
  in.skip_blanks();
  for (bool first = true;; first = false) {
    auto op = in.take_operator(operators, P::RangeOperand);
    if (!op) return std::unexpected(std::move(op.error()));
    const std::size_t start = in.pos();
    const std::string_view operand = in.take_operand(true);
    if (operand.empty()) return in.fail(start, {P::RangeOperand});
    const std::size_t before = bounds.size();
    if (is_wildcard(operand)) {
      // Every version, and only as the whole requirement.
      in.skip_blanks();
      if (*op || !first || !in.at_end()) return in.fail(*op || !first ? start : in.pos(), {alone});
      return {};
    }
    auto p = partial(operand);
    if (!p) return in.fail_in_operand(std::move(p.error()), start);
    // A bare operand with a wildcard stands for the versions it writes out.
    const Op o = op->value_or(
        p->known < 3 && operand.find_first_of("*xX") != operand.npos ? Op::equal : Op::caret);
    add_bounds(bounds, o, *p);
    operands.push_back({o, *p, before});
    // A pre-release operand admits the pre-releases of its own release: those
    // whose keys start with its numbers' (a release's key less its 2 and the
    // empty build metadata's 0).
    if (!p->prerelease.empty()) {
      const std::uint32_t size = static_cast<std::uint32_t>(
          bound(RangeOp::less, p->numbers[0], p->numbers[1], p->numbers[2]).key.size() - 2);
      bounds[before].admits = size;
    }
    in.skip_blanks();
    if (in.at_end()) {
      settle();
      return {};
    }
    if (!in.at(',')) return in.fail(in.pos(), {comma, P::EndOfInput});
    in.skip_joiner(true);
    if (in.at_end()) return in.fail(in.pos(), {P::Comparator});
  }
}

// SemVer precedence, then the build metadata identifier by identifier:
// numbers below words, numbers by value and then by length, words byte by
// byte, and fewer identifiers first.
std::weak_ordering compare(const semver::Parts& a, const semver::Parts& b) noexcept {
  if (auto c = semver::compare(a, b); c != 0) return c;
  std::string_view x = a.build, y = b.build;
  while (!x.empty() && !y.empty()) {
    const std::string_view p = x.substr(0, x.find('.')), q = y.substr(0, y.find('.'));
    const bool number = p.find_first_not_of("0123456789") == std::string_view::npos;
    if (number != (q.find_first_not_of("0123456789") == std::string_view::npos))
      return number ? std::weak_ordering::less : std::weak_ordering::greater;
    if (!number) {
      if (auto c = p.compare(q) <=> 0; c != 0) return c;
    } else if (auto c = key_bytes::compare_numbers(p, q); c != 0) {
      return c;
    } else if (p.size() != q.size()) {
      return p.size() <=> q.size();
    }
    x.remove_prefix(std::min(x.size(), p.size() + 1));
    y.remove_prefix(std::min(y.size(), q.size() + 1));
  }
  return !x.empty() <=> !y.empty();
}

}  // namespace

const Row cargo_row = row_of<read, compare>(Scheme::cargo, append_cargo_key, cargo_key_size_bound,
                                            cargo_fields, read_cargo_range);

}  // namespace tolva::scheme::detail
