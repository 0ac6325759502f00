#include "tolva/grammar/read_range.hpp"

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

#include "failure_record.hpp"
#include "tolva/grammar/range_text.hpp"
#include "tolva/grammar/readers.hpp"

namespace tolva::grammar {
namespace {

using P = ExpectedPattern;
using Alternative = List<Comparator>;
constexpr std::uint32_t max_number = std::numeric_limits<std::uint32_t>::max();

bool ends_operand(char c) noexcept { return c == ' ' || c == '\t' || c == ',' || c == '|'; }
bool is_wildcard(std::string_view part) noexcept {
  return part == "x" || part == "X" || part == "*";
}

// The least SemVer of its numbers: below each of their pre-releases.
SemVer first_of(std::uint32_t major, std::uint32_t minor, std::uint32_t patch) {
  return SemVer{major, minor, patch, TextList{}};
}

// Where a carry leaves the 32-bit numbers there is no next release.
std::optional<SemVer> next_major(std::uint32_t major) {
  if (major == max_number) return std::nullopt;
  return first_of(major + 1, 0, 0);
}
std::optional<SemVer> next_minor(std::uint32_t major, std::uint32_t minor) {
  if (minor == max_number) return next_major(major);
  return first_of(major, minor + 1, 0);
}
std::optional<SemVer> next_patch(std::uint32_t major, std::uint32_t minor, std::uint32_t patch) {
  if (patch == max_number) return next_minor(major, minor);
  return first_of(major, minor, patch + 1);
}

// An operand of at most three dot-separated parts, numbers first and
// wildcards after them: `known` numbers, the rest wildcards.
struct Partial {
  std::array<std::uint32_t, 3> numbers{};
  int known = 0;
  bool wildcard = false;  // written with a wildcard part, not just cut short

  // Every release it matches lies in [floor, ceiling); no ceiling: unbounded.
  SemVer floor() const { return first_of(numbers[0], numbers[1], numbers[2]); }
  std::optional<SemVer> ceiling() const {
    if (known == 0) return std::nullopt;
    if (known == 1) return next_major(numbers[0]);
    return next_minor(numbers[0], numbers[1]);
  }
};

Comparator made_up(RangeOp op, SemVer at) {
  return Comparator{op, Version{std::move(at)}, {}, false};
}

Comparator written(RangeOp op, Version at) {
  const auto* semver = at.get_if<SemVer>();
  const bool prerelease = semver != nullptr && semver->rc().has_value();
  return Comparator{op, std::move(at), {}, prerelease};
}

// No version of any kind satisfies it.
Comparator nothing() { return made_up(RangeOp::less, first_of(0, 0, 0)); }
Comparator any_semver() { return made_up(RangeOp::greater_equal, first_of(0, 0, 0)); }

void add_below(Alternative& out, const std::optional<SemVer>& ceiling) {
  if (ceiling) out.push_back(made_up(RangeOp::less, *ceiling));
}

// The operators of tolva's ranges; ^ and ~ make comparators of their own.
using RO = RangeOperator;
constexpr std::array<RO, 8> operators{RO::less_equal, RO::greater_equal, RO::not_equal, RO::less,
                                      RO::greater,    RO::equal,         RO::caret,     RO::tilde};

class RangeReader {
 public:
  explicit RangeReader(std::string_view text) noexcept : in_(text) {}

  std::expected<Range, ParseError> read() {
    Range range;
    in_.skip_blanks();
    if (in_.at_end()) {
      range.alternatives.push_back({any_semver()});
      return range;
    }
    for (;;) {
      if (auto read = alternative(range.alternatives.emplace_back()); !read) {
        return std::unexpected(std::move(read.error()));
      }
      if (in_.at_end()) return range;
      if (auto bars = in_.take_bars(); !bars) return std::unexpected(std::move(bars.error()));
    }
  }

 private:
  using Step = std::expected<void, ParseError>;

  // A '-' standing alone, which only a hyphen range may hold.
  bool at_lone_hyphen() const noexcept {
    const std::size_t next = in_.pos() + 1;
    return in_.at('-') && (next == in_.text().size() || ends_operand(in_.text()[next]));
  }

  // Comparators, up to the end or a '|'.
  Step alternative(Alternative& out) {
    for (;;) {
      if (auto read = comparator(out); !read) return read;
      if (!in_.skip_joiner(true) && in_.at_alternative_end()) return {};
    }
  }

  Step comparator(Alternative& out) {
    if (in_.at_alternative_end() || in_.at(',') || at_lone_hyphen()) {
      return in_.fail(in_.pos(), {P::Comparator});
    }
    auto op = in_.take_operator(operators, P::RangeOperand);
    if (!op) return std::unexpected(std::move(op.error()));
    const std::size_t start = in_.pos();
    const std::string_view operand = in_.take_operand(true);
    if (operand.empty()) return in_.fail(in_.pos(), {P::RangeOperand});
    if (*op == RO::caret || *op == RO::tilde) {
      return compatible(out, operand, start, *op == RO::caret);
    }
    if (!*op) {
      const std::size_t end = in_.pos();
      in_.skip_blanks();
      if (in_.pos() > end && at_lone_hyphen()) {
        in_.move_to(in_.pos() + 1);
        in_.skip_blanks();
        const std::size_t upper_start = in_.pos();
        const std::string_view upper = in_.take_operand(true);
        if (upper.empty()) return in_.fail(in_.pos(), {P::RangeOperand});
        return hyphen(out, operand, start, upper, upper_start);
      }
      in_.move_to(end);
    }
    return plain(out, op->has_value() ? comparison(**op) : RangeOp::equal, operand, start);
  }

  // The operand as a partial or wildcard SemVer, if it is written as one;
  // an error for a number too large there.
  std::expected<std::optional<Partial>, ParseError> partial(std::string_view operand,
                                                            std::size_t start) const {
    std::size_t at = 0;
    if (operand.size() > 1 && operand[0] == 'v' && operand[1] >= '0' && operand[1] <= '9') ++at;
    Partial p;
    for (int part = 0; part < 3; ++part) {
      const std::size_t dot = operand.find('.', at);
      const std::string_view text =
          operand.substr(at, dot == std::string_view::npos ? std::string_view::npos : dot - at);
      if (is_wildcard(text)) {
        p.wildcard = true;
      } else {
        if (p.wildcard || text.empty() || text.find_first_not_of("0123456789") != text.npos) {
          return std::nullopt;
        }
        std::uint64_t value = 0;
        for (char c : text) {
          value = value * 10 + static_cast<unsigned>(c - '0');
          if (value > max_number) {
            detail::FailureRecord record;
            record.record_large_number(start + at, start + at + text.size());
            return std::unexpected(detail::to_parse_error(in_.text(), record));
          }
        }
        p.numbers[static_cast<std::size_t>(part)] = static_cast<std::uint32_t>(value);
        ++p.known;
      }
      if (dot == std::string_view::npos) {
        if (p.known == 3) return std::nullopt;  // a whole version, read as such
        return p;
      }
      at = dot + 1;
    }
    return std::nullopt;
  }

  Step plain(Alternative& out, RangeOp op, std::string_view operand, std::size_t start) {
    auto shape = partial(operand, start);
    if (!shape) return std::unexpected(std::move(shape.error()));
    if (*shape && (*shape)->wildcard) {
      wildcard(out, op, **shape);
      return {};
    }
    auto version = parse_as<Version>(operand);
    if (!version) return in_.fail_in_operand(std::move(version.error()), start);
    out.push_back(written(op, std::move(*version)));
    return {};
  }

  static void wildcard(Alternative& out, RangeOp op, const Partial& p) {
    const std::optional<SemVer> ceiling = p.ceiling();
    switch (op) {
      case RangeOp::equal:
        out.push_back(made_up(RangeOp::greater_equal, p.floor()));
        return add_below(out, ceiling);
      case RangeOp::not_equal:
        if (!ceiling) return out.push_back(made_up(RangeOp::less, p.floor()));
        out.push_back(made_up(RangeOp::outside, p.floor()));
        out.back().upper = Version{*ceiling};
        return;
      case RangeOp::greater:
        return out.push_back(ceiling ? made_up(RangeOp::greater_equal, *ceiling) : nothing());
      case RangeOp::greater_equal: return out.push_back(made_up(RangeOp::greater_equal, p.floor()));
      case RangeOp::less: return out.push_back(made_up(RangeOp::less, p.floor()));
      case RangeOp::less_equal:
        return out.push_back(ceiling ? made_up(RangeOp::less, *ceiling) : any_semver());
      case RangeOp::outside: return;
    }
  }

  // A SemVer written whole, or a partial or wildcard one.
  using SemVerOperand = std::variant<SemVer, Partial>;

  std::expected<SemVerOperand, ParseError> semver_operand(std::string_view operand,
                                                          std::size_t start) const {
    auto shape = partial(operand, start);
    if (!shape) return std::unexpected(std::move(shape.error()));
    if (*shape) return **shape;
    auto semver = parse_as<SemVer>(operand);
    if (!semver) return in_.fail_in_operand(std::move(semver.error()), start);
    return std::move(*semver);
  }

  // ^ (`caret`) or ~.
  Step compatible(Alternative& out, std::string_view operand, std::size_t start, bool caret) {
    auto read = semver_operand(operand, start);
    if (!read) return std::unexpected(std::move(read.error()));
    if (const auto* p = std::get_if<Partial>(&*read)) {
      out.push_back(made_up(RangeOp::greater_equal, p->floor()));
      const bool below_minor = caret && p->known == 2 && p->numbers[0] == 0;
      if (caret && p->known > 0 && !below_minor) {
        add_below(out, next_major(p->numbers[0]));
      } else {
        add_below(out, below_minor ? next_minor(0, p->numbers[1]) : p->ceiling());
      }
      return {};
    }
    SemVer& v = std::get<SemVer>(*read);
    std::optional<SemVer> ceiling;
    if (!caret) {
      ceiling = next_minor(v.major, v.minor);
    } else if (v.major > 0) {
      ceiling = next_major(v.major);
    } else if (v.minor > 0) {
      ceiling = next_minor(0, v.minor);
    } else {
      ceiling = next_patch(0, 0, v.patch);
    }
    out.push_back(written(RangeOp::greater_equal, Version{std::move(v)}));
    add_below(out, ceiling);
    return {};
  }

  Step hyphen(Alternative& out, std::string_view lower, std::size_t lower_start,
              std::string_view upper, std::size_t upper_start) {
    auto low = semver_operand(lower, lower_start);
    auto high = semver_operand(upper, upper_start);
    if (low && high) {
      if (auto* p = std::get_if<Partial>(&*low)) {
        out.push_back(made_up(RangeOp::greater_equal, p->floor()));
      } else {
        out.push_back(written(RangeOp::greater_equal, Version{std::get<SemVer>(std::move(*low))}));
      }
      if (auto* p = std::get_if<Partial>(&*high)) {
        add_below(out, p->ceiling());
      } else {
        out.push_back(written(RangeOp::less_equal, Version{std::get<SemVer>(std::move(*high))}));
      }
      return {};
    }
    if (auto read = plain(out, RangeOp::greater_equal, lower, lower_start); !read) return read;
    return plain(out, RangeOp::less_equal, upper, upper_start);
  }

  RangeText in_;
};

}  // namespace
}  // namespace tolva::grammar

namespace tolva {

std::expected<Range, ParseError> parse_range(std::string_view text) {
  return grammar::RangeReader(text).read();
}

}  // namespace tolva
