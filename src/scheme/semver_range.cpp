#include <array>
#include <optional>

#include "semver.hpp"

namespace tolva::scheme::detail::semver {
namespace {

using Op = RangeOp;
using P = grammar::ExpectedPattern;
using Step = Read;
using key_bytes::is_digit;
using RO = grammar::RangeOperator;

constexpr std::string_view wildcard = "'x', 'X' or '*'";

bool is_blank(char c) noexcept { return c == ' ' || c == '\t'; }

bool is_wildcard(char c) noexcept { return c == 'x' || c == 'X' || c == '*'; }

// An operand: `known` leading numbers, wildcards (written or left out)
// after them, and a pre-release only after three numbers.
struct Partial {
  std::array<std::string_view, 3> numbers{};
  int known = 0;
  std::string_view prerelease;
};

// A version the range names or makes up.
struct Made {
  std::string major, minor, patch;
  std::string_view prerelease;  // "0" for the least pre-release
  // Written in the range with its pre-release, which admits the
  // pre-releases of its major.minor.patch.
  bool written = false;
};

KeyBound bound(Op op, const Made& v) {
  KeyBound b{op, {}, {}, std::nullopt, v.major + '.' + v.minor + '.' + v.patch, {}};
  if (!v.prerelease.empty()) (b.text += '-') += v.prerelease;
  const KeyFacts facts = *append_key(b.key, Parts{v.major, v.minor, v.patch, v.prerelease, {}});
  if (v.written && facts.prerelease) b.admits = facts.release;
  return b;
}

constexpr std::array<RO, 8> operators{RO::less_equal, RO::greater_equal, RO::less,  RO::greater,
                                      RO::equal,      RO::tilde_greater, RO::tilde, RO::caret};

class SemVerRange {
 public:
  SemVerRange(grammar::RangeText& in, bool include_prerelease) noexcept
      : in_(in), include_prerelease_(include_prerelease) {}

  Step read(KeyRange& range) {
    in_.skip_blanks();
    for (;;) {
      auto& alternative = range.alternatives.emplace_back();
      if (auto step = this->alternative(alternative); !step) return step;
      drop_any_lower_bound(alternative);
      if (in_.at_end()) return {};
      if (auto step = in_.take_bars(); !step) return step;
    }
  }

 private:
  // The least pre-release where pre-releases are included, else nothing.
  std::string_view low() const noexcept { return include_prerelease_ ? "0" : ""; }

  Step alternative(std::vector<KeyBound>& out) {
    bool first = true;
    while (!in_.at_alternative_end()) {
      const std::size_t start = in_.pos();
      const bool bare =
          !in_.at('<') && !in_.at('>') && !in_.at('=') && !in_.at('~') && !in_.at('^');
      if (first && bare) {
        // A hyphen range is the whole alternative: A - B.
        auto lower = partial();
        if (!lower) return std::unexpected(lower.error());
        const std::size_t after = in_.pos();
        in_.skip_blanks();
        if (in_.pos() > after && in_.at('-') &&
            (in_.pos() + 1 == in_.text().size() || is_blank(in_.text()[in_.pos() + 1]))) {
          in_.move_to(in_.pos() + 1);
          in_.skip_blanks();
          auto upper = partial();
          if (!upper) return std::unexpected(upper.error());
          hyphen(out, *lower, *upper);
          in_.skip_blanks();
          if (!in_.at_alternative_end()) return in_.fail(in_.pos(), {P::TokenBar});
          return {};
        }
        in_.move_to(start);
      }
      if (auto step = comparator(out); !step) return step;
      first = false;
      in_.skip_blanks();
    }
    return {};
  }

  Step comparator(std::vector<KeyBound>& out) {
    auto spelled = in_.take_operator(operators, P::RangeOperand);
    if (!spelled) return std::unexpected(std::move(spelled.error()));
    auto p = partial();
    if (!p) return std::unexpected(p.error());
    const RO op = spelled->value_or(RO::equal);
    if (op == RO::caret || op == RO::tilde || op == RO::tilde_greater) {
      compatible(out, *p, op == RO::caret);
    } else {
      plain(out, grammar::comparison(op), op != RO::equal, *p);
    }
    return {};
  }

  // [v] xr ( . xr ( . xr qualifier? )? )? where xr is a number without
  // leading zeros or a wildcard, numbers before wildcards.
  std::expected<Partial, ParseError> partial() {
    const std::size_t start = in_.pos();
    if (in_.at_alternative_end() || is_blank(in_.text()[start]))
      return in_.fail(start, {P::RangeOperand});
    const std::string_view text = in_.take_operand(false);
    const std::size_t skip = text.size() > 1 && text[0] == 'v' ? 1 : 0;
    Partial p;
    bool wild = false;
    std::size_t i = skip;
    for (int part = 0;; ++part) {
      const std::size_t first = i;
      if (i < text.size() && is_wildcard(text[i])) {
        wild = true;
        ++i;
      } else if (i < text.size() && is_digit(text[i]) && !wild) {
        if (text[i++] != '0')
          while (i < text.size() && is_digit(text[i])) ++i;
        p.numbers[static_cast<std::size_t>(part)] = text.substr(first, i - first);
        ++p.known;
      } else {
        return in_.fail(start + i, {wild ? wildcard : part == 0 ? P::RangeOperand : P::Integer});
      }
      if (i == text.size()) return p;
      if (part < 2 && text[i] == '.') {
        ++i;
        continue;
      }
      if (part == 2 && !wild && (text[i] == '-' || text[i] == '+')) {
        // A whole version: SemVer's own reading.
        auto whole = semver::read(text.substr(skip));
        if (!whole) return in_.fail_in_operand(std::move(whole.error()), start + skip);
        p.prerelease = whole->prerelease;
        return p;
      }
      return in_.fail(start + i, {part < 2 ? P::TokenDot : wild ? P::EndOfInput : P::TokenHyphen});
    }
  }

  // The operand's own pre-release (a view into the range text) is written;
  // low() and "0" are made up.
  Made made(const Partial& p, std::string_view prerelease) const {
    return Made{std::string(p.known > 0 ? p.numbers[0] : "0"),
                std::string(p.known > 1 ? p.numbers[1] : "0"),
                std::string(p.known > 2 ? p.numbers[2] : "0"), prerelease,
                !p.prerelease.empty() && prerelease.data() == p.prerelease.data()};
  }
  // The least pre-release of the next major and of the next minor.
  static Made next_major(const Partial& p) { return Made{plus_one(p.numbers[0]), "0", "0", "0"}; }
  static Made next_minor(const Partial& p) {
    return Made{std::string(p.numbers[0]), plus_one(p.numbers[1]), "0", "0"};
  }

  void plain(std::vector<KeyBound>& out, Op op, bool compares, const Partial& p) const {
    if (p.known == 3) return out.push_back(bound(op, made(p, p.prerelease)));
    if (p.known == 0) {
      if (op == Op::less || op == Op::greater)
        out.push_back(bound(Op::less, Made{"0", "0", "0", "0"}));
      return;
    }
    if (!compares) {
      out.push_back(bound(Op::greater_equal, made(p, low())));
      return out.push_back(bound(Op::less, p.known == 1 ? next_major(p) : next_minor(p)));
    }
    switch (op) {
      case Op::greater: {
        Made m = p.known == 1 ? next_major(p) : next_minor(p);
        m.prerelease = low();
        return out.push_back(bound(Op::greater_equal, m));
      }
      case Op::less_equal:
        return out.push_back(bound(Op::less, p.known == 1 ? next_major(p) : next_minor(p)));
      case Op::less: return out.push_back(bound(Op::less, made(p, "0")));
      default: return out.push_back(bound(Op::greater_equal, made(p, low())));
    }
  }

  // ^ (`caret`) or ~.
  void compatible(std::vector<KeyBound>& out, const Partial& p, bool caret) const {
    if (p.known == 0) return;
    const std::string_view from = p.known == 3 ? p.prerelease : low();
    out.push_back(bound(Op::greater_equal, made(p, from)));
    const bool zero_major = p.numbers[0] == "0";
    if (p.known == 1 || (caret && !zero_major))
      return out.push_back(bound(Op::less, next_major(p)));
    if (caret && p.known == 3 && p.numbers[1] == "0") {
      return out.push_back(bound(Op::less, Made{"0", "0", plus_one(p.numbers[2]), "0"}));
    }
    out.push_back(bound(Op::less, next_minor(p)));
  }

  void hyphen(std::vector<KeyBound>& out, const Partial& from, const Partial& to) const {
    if (from.known > 0) {
      const bool exact = from.known == 3 && !from.prerelease.empty();
      out.push_back(bound(Op::greater_equal, made(from, exact ? from.prerelease : low())));
    }
    if (to.known == 0) return;
    if (to.known < 3)
      return out.push_back(bound(Op::less, to.known == 1 ? next_major(to) : next_minor(to)));
    if (to.prerelease.empty() && include_prerelease_) {
      return out.push_back(
          bound(Op::less, Made{std::string(to.numbers[0]), std::string(to.numbers[1]),
                               plus_one(to.numbers[2]), "0"}));
    }
    out.push_back(bound(Op::less_equal, made(to, to.prerelease)));
  }

  // ">=0.0.0" (">=0.0.0-0" with pre-releases included) stands for every
  // version and is dropped, as npm's semver does.
  void drop_any_lower_bound(std::vector<KeyBound>& alternative) const {
    const KeyBound any = bound(Op::greater_equal, Made{"0", "0", "0", low()});
    std::erase_if(alternative,
                  [&](const KeyBound& b) { return b.op == any.op && b.key == any.key; });
  }

  grammar::RangeText& in_;
  bool include_prerelease_;
};

}  // namespace

Read read_range(grammar::RangeText& in, const Order&, KeyRange& out) {
  return SemVerRange(in, out.include_prerelease).read(out);
}

}  // namespace tolva::scheme::detail::semver
