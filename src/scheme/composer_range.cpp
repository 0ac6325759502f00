// Composer's constraints as its VersionParser reads them: alternatives joined
// by "||" (or "|"), each of constraints joined by blanks or a comma. A
// constraint is an operator (<, <=, >, >=, =, ==, !=, <>) and a version, a
// hyphen range "1.0 - 2.1", a wildcard "1.2.*", "^1.2", "~1.2" or "*", and,
// where it holds no blank, an "@stability" flag, which lowers an operator's
// stable operand to that stability and is otherwise dropped.
#include <array>

#include "composer.hpp"

namespace tolva::scheme::detail::composer {
namespace {

using P = grammar::ExpectedPattern;
using key_bytes::is_digit;

constexpr std::string_view shown_constraint = "Composer constraint";
constexpr std::string_view shown_tilde = "version after '~' (Composer has no '~>')";
constexpr P constraint_pattern{shown_constraint};
constexpr P tilde_pattern{shown_tilde};

bool is_blank(char c) noexcept { return c == ' ' || c == '\t'; }
bool is_wildcard(char c) noexcept { return c == 'x' || c == 'X' || c == '*'; }

// A version after ^ or ~ or in a hyphen range: one to four numbers, then a
// modifier or ".x-dev", then any build metadata.
struct Operand {
  std::array<std::string_view, 4> numbers{};
  std::size_t count = 0;
  Modifier modifier;
  bool x_dev = false;
  // Whether Composer's "-dev" is added to the version as the lower bound:
  // when it names no stability.
  bool lowest() const noexcept { return !modifier.word && !modifier.dev && !x_dev; }
};

std::optional<Operand> operand(std::string_view o) {
  Operand r;
  if (const std::size_t plus = o.find('+'); plus != std::string_view::npos) {
    if (plus + 1 == o.size()) return std::nullopt;
    o = o.substr(0, plus);
  }
  std::size_t i = !o.empty() && lower(o[0]) == 'v' ? 1 : 0;
  for (;;) {
    const std::size_t start = i;
    while (i < o.size() && is_digit(o[i])) ++i;
    if (i == start) return std::nullopt;
    r.numbers[r.count++] = o.substr(start, i - start);
    if (r.count == 4 || i + 1 >= o.size() || o[i] != '.' || !is_digit(o[i + 1])) break;
    ++i;
  }
  const std::string_view rest = o.substr(i);
  if (auto m = modifier(rest)) {
    r.modifier = *m;
    return r;
  }
  if (rest.size() < 2 || rest[0] != '.' || !is_wildcard(rest[1])) return std::nullopt;
  const std::string_view dev = rest.substr(2);
  r.x_dev = equals_without_case(dev, "dev") || equals_without_case(dev, ".dev") ||
            equals_without_case(dev, "-dev");
  return r.x_dev ? std::optional(r) : std::nullopt;
}

std::string plus_one(std::string_view digits) {
  std::string out(key_bytes::significant_digits(digits));
  std::size_t i = out.size();
  while (i > 0 && out[i - 1] == '9') out[--i] = '0';
  if (i == 0) return '1' + out;
  ++out[i - 1];
  return out;
}

// Four numbers: the operand's first `position`, the last of them one higher
// when `raise`, then zeros; "-dev", below every version that starts so.
KeyBound made_up(RangeOp op, const Operand& o, std::size_t position, bool raise) {
  std::string text;
  for (std::size_t k = 0; k < 4; ++k) {
    if (k > 0) text += '.';
    if (k + 1 < position || (k + 1 == position && !raise)) text += o.numbers[k];
    if (k + 1 == position && raise) text += plus_one(o.numbers[k]);
    if (k >= position) text += '0';
  }
  Parts v;
  v.release = text;
  v.padded = v.dev = true;
  return bound(op, v);
}

// The least numbered version, 0.0.0.0-dev: an upper bound's lower end, as
// Composer's comparisons never hold for a branch.
KeyBound least() {
  Parts v;
  v.release = "0";
  v.padded = v.dev = true;
  return bound(RangeOp::greater_equal, v);
}

// Whether the text ends in '-' and a modifier, which keeps "<" and ">="
// from adding "-dev" to their version.
bool ends_in_modifier(std::string_view s) noexcept {
  for (std::size_t at = s.find('-'); at != std::string_view::npos; at = s.find('-', at + 1))
    // Composer matches the lower-cased text against "RC" here, which no
    // "rc" matches.
    if (auto m = modifier(s.substr(at + 1)); m && m->stability != Stability::rc) return true;
  return false;
}

class Constraints {
 public:
  Constraints(grammar::RangeText& in, std::vector<KeyBound>& out) : in_(in), out_(out) {}

  // The constraint that starts at `at` of the range text.
  Read one(std::size_t at, std::string_view c) {
    std::optional<Stability> flag;
    if (const std::size_t sign = c.rfind('@');
        sign != std::string_view::npos && c.find_first_of(" \t") == std::string_view::npos) {
      constexpr std::array<std::string_view, 5> flags{"dev", "alpha", "beta", "rc", "stable"};
      for (std::size_t k = 0; k < flags.size(); ++k) {
        if (!equals_without_case(c.substr(sign + 1), flags[k])) continue;
        c = sign == 0 ? "*" : c.substr(0, sign);
        if (k < 4) flag = static_cast<Stability>(k);
        break;
      }
    }
    std::string_view w = c.substr(!c.empty() && lower(c[0]) == 'v' ? 1 : 0);
    if (!w.empty() && is_wildcard(w[0]) && wildcards(w.substr(1))) {
      if (w.size() < c.size() || w.size() > 1) out_.push_back(least());
      return {};
    }
    if (c.starts_with('~') || c.starts_with('^')) return ranged(at, c);
    w = c.substr(c.starts_with('v') ? 1 : 0);
    if (auto o = wildcard_range(w)) {
      out_.push_back(made_up(RangeOp::greater_equal, *o, o->count, false));
      out_.push_back(made_up(RangeOp::less, *o, o->count, true));
      return {};
    }
    return compared(at, c, flag);
  }

  // "FROM - TO": at least FROM (and its pre-releases when it names no
  // stability); at most TO when it has three numbers or a stability, else
  // below the next release of the numbers it has.
  Read hyphen(std::size_t at, std::string_view from, std::size_t to_at, std::string_view to) {
    auto f = operand(from);
    if (!f) return in_.fail(at, {P::RangeOperand});
    auto t = operand(to);
    if (!t) return in_.fail(to_at, {P::RangeOperand});
    auto low = read(from);
    if (!low) return in_.fail_in_operand(std::move(low.error()), at);
    low->dev = low->dev || f->lowest();
    auto high = read(to);
    if (!high) return in_.fail_in_operand(std::move(high.error()), to_at);
    out_.push_back(bound(RangeOp::greater_equal, *low));
    if (t->count >= 3 || !t->lowest())
      out_.push_back(bound(RangeOp::less_equal, *high));
    else
      out_.push_back(made_up(RangeOp::less, *t, t->count, true));
    return {};
  }

 private:
  static bool wildcards(std::string_view rest) noexcept {
    for (; rest.size() >= 2 && rest[0] == '.' && is_wildcard(rest[1]);) rest.remove_prefix(2);
    return rest.empty();
  }

  // "1.2.*": one to three numbers and wildcards.
  static std::optional<Operand> wildcard_range(std::string_view w) {
    Operand o;
    std::size_t i = 0;
    while (o.count < 3 && i < w.size() && is_digit(w[i])) {
      const std::size_t start = i;
      while (i < w.size() && is_digit(w[i])) ++i;
      o.numbers[o.count++] = w.substr(start, i - start);
      if (i + 1 < w.size() && w[i] == '.' && is_digit(w[i + 1])) ++i;
    }
    if (o.count == 0 || i == w.size() || !wildcards(w.substr(i))) return std::nullopt;
    return o;
  }

  // ~V: at least V, below the next release of V's numbers but its last
  // (its only one's when one); ^V: below the next release of V's first
  // number that is not 0 (or of the last written).
  Read ranged(std::size_t at, std::string_view c) {
    const bool tilde = c[0] == '~';
    if (tilde && c.starts_with("~>")) return in_.fail(at + 1, {tilde_pattern});
    auto o = operand(c.substr(1));
    if (!o) return in_.fail(at + 1, {P::RangeOperand});
    // Composer reads the version with "-dev" added to its text when it
    // names no stability (which makes "123456789.1" a numbered branch).
    const std::string text = std::string(c.substr(1)).append(o->lowest() ? "-dev" : "");
    auto low = read(text);
    if (!low) return in_.fail(at + 1, {P::RangeOperand});
    std::size_t position = 3;
    if (tilde) {
      position = std::max<std::size_t>(1, o->count + (o->x_dev ? 1 : 0) - 1);
    } else if (o->numbers[0] != "0" || o->count < 2) {
      position = 1;
    } else if (o->numbers[1] != "0" || o->count < 3) {
      position = 2;
    }
    out_.push_back(bound(RangeOp::greater_equal, *low));
    out_.push_back(made_up(RangeOp::less, *o, position, true));
    return {};
  }

  // An operator (= when none) and a version; a branch only equals itself,
  // and no comparison holds for it.
  Read compared(std::size_t at, std::string_view c, std::optional<Stability> flag) {
    using enum RangeOp;
    constexpr std::array<std::pair<std::string_view, RangeOp>, 8> operators{{{"<>", not_equal},
                                                                             {"!=", not_equal},
                                                                             {">=", greater_equal},
                                                                             {">", greater},
                                                                             {"<=", less_equal},
                                                                             {"<", less},
                                                                             {"==", equal},
                                                                             {"=", equal}}};
    RangeOp op = RangeOp::equal;
    std::size_t i = 0;
    for (const auto& [text, test] : operators) {
      if (!c.starts_with(text)) continue;
      op = test;
      i = text.size();
      break;
    }
    while (i < c.size() && is_blank(c[i])) ++i;
    const std::string_view rest = c.substr(i);
    auto v = read(rest);
    // "NAME-dev" is the branch dev-NAME.
    std::string branch;
    if (!v && rest.ends_with("-dev") &&
        rest.find_first_not_of("0123456789abcdefghijklmnopqrstuvwxyz"
                               "ABCDEFGHIJKLMNOPQRSTUVWXYZ-./") == std::string_view::npos) {
      branch = std::string("dev-").append(rest.substr(0, rest.size() - 4));
      v = read(branch);
    }
    if (!v) return in_.fail_in_operand(std::move(v.error()), at + i);
    const bool ordered = op != RangeOp::equal && op != RangeOp::not_equal;
    if (v->branch) {
      out_.push_back(bound(ordered ? RangeOp::equal : op, *v));
      if (ordered) out_.push_back(bound(RangeOp::not_equal, *v));
      return {};
    }
    if (flag && op != RangeOp::equal && !v->dev && v->stability == Stability::stable) {
      if (*flag == Stability::dev) v->dev = true;
      if (*flag != Stability::dev) v->stability = *flag, v->stability_numbers = {};
    } else if ((op == RangeOp::less || op == RangeOp::greater_equal) && !ends_in_modifier(rest)) {
      v->dev = true;
    }
    out_.push_back(bound(op, *v));
    if (op == RangeOp::less || op == RangeOp::less_equal) out_.push_back(least());
    return {};
  }

  grammar::RangeText& in_;
  std::vector<KeyBound>& out_;
};

}  // namespace

Read read_range(grammar::RangeText& in, const Order&, KeyRange& out) {
  const std::string_view t = in.text();
  std::size_t i = 0;
  auto skip_blanks = [&](std::size_t at) {
    while (at < t.size() && is_blank(t[at])) ++at;
    return at;
  };
  auto word_end = [&](std::size_t at) {
    while (at < t.size() && !is_blank(t[at]) && t[at] != ',' && t[at] != '|') ++at;
    return at;
  };
  i = skip_blanks(i);
  for (;;) {
    Constraints constraints(in, out.alternatives.emplace_back());
    for (;;) {
      if (i == t.size() || t[i] == '|' || t[i] == ',') return in.fail(i, {constraint_pattern});
      const std::size_t start = i;
      // An operator may stand apart from its version.
      while (i < t.size() && std::string_view("<>=!").find(t[i]) != std::string_view::npos) ++i;
      if (i > start) i = skip_blanks(i);
      std::size_t end = word_end(i);
      // A hyphen range: " - " with one space on each side, as Composer
      // splits constraints at any other blanks around a '-'.
      if (i == start && t.substr(end).starts_with(" - ") && end + 3 < t.size() &&
          !is_blank(t[end + 3])) {
        const std::size_t to = end + 3, to_end = word_end(to);
        if (auto r = constraints.hyphen(start, t.substr(start, end - start), to,
                                        t.substr(to, to_end - to));
            !r)
          return r;
        end = to_end;
      } else if (end == i) {
        return in.fail(i, {P::RangeOperand});
      } else if (auto r = constraints.one(start, t.substr(start, end - start)); !r) {
        return r;
      }
      i = skip_blanks(end);
      if (i == t.size()) return {};
      if (t[i] == '|') {
        i = skip_blanks(i + (i + 1 < t.size() && t[i + 1] == '|' ? 2 : 1));
        break;
      }
      // A '-' binds the blank beside it: neither "1.0- 2.0" nor "1.0 -2.0"
      // is two constraints.
      if (t[end - 1] == '-' || t[i] == '-')
        return in.fail(t[i] == '-' ? i : end - 1, {P::Comparator});
      if (t[i] == ',') i = skip_blanks(i + 1);
    }
  }
}

}  // namespace tolva::scheme::detail::composer
