#include <algorithm>
#include <array>

#include "decimal_key.hpp"
#include "range_text.hpp"
#include "tolva/grammar/read_range.hpp"
#include "tolva/grammar/readers.hpp"
#include "tolva/values/range.hpp"

namespace tolva::scheme {
namespace detail {

bool holds(std::string_view key, const RangeBound& bound) noexcept {
  const auto order = key.compare(bound.key) <=> 0;
  switch (bound.op) {
    case RangeBound::Op::less: return order < 0;
    case RangeBound::Op::less_equal: return order <= 0;
    case RangeBound::Op::greater: return order > 0;
    case RangeBound::Op::greater_equal: return order >= 0;
    case RangeBound::Op::equal: return order == 0;
    case RangeBound::Op::not_equal: break;
  }
  return order != 0;
}

}  // namespace detail
namespace {

using detail::P;
using Op = RangeBound::Op;

struct Operator {
  std::string_view text;
  Op op;
  bool debian_only = false;
};
// Longest first.
constexpr std::array<Operator, 8> operators{{
    {"<<", Op::less, true},
    {">>", Op::greater, true},
    {"<=", Op::less_equal},
    {">=", Op::greater_equal},
    {"!=", Op::not_equal},
    {"<", Op::less},
    {">", Op::greater},
    {"=", Op::equal},
}};

// Comparators of natural or debian versions: an operator (none: =), blanks,
// and the operand up to the next blank or '|'.
class OperatorRange {
 public:
  OperatorRange(std::string_view text, Scheme scheme) noexcept : in_(text), scheme_(scheme) {}

  std::expected<SchemeRange, ParseError> read() {
    SchemeRange range(scheme_, false, {});
    in_.skip_blanks();
    for (;;) {
      auto& alternative = range.alternatives.emplace_back();
      do {
        if (auto step = comparator(alternative); !step) return std::unexpected(step.error());
        in_.skip_blanks();
      } while (!in_.at_alternative_end());
      if (in_.at_end()) return range;
      if (auto step = in_.take_bars(); !step) return std::unexpected(step.error());
      in_.skip_blanks();
    }
  }

 private:
  detail::Step comparator(std::vector<RangeBound>& out) {
    if (in_.at_alternative_end()) return in_.fail(in_.pos(), P::Comparator);
    if (in_.at('!') && !in_.at("!=")) return in_.fail(in_.pos() + 1, P::TokenEquals);
    Op op = Op::equal;
    for (const Operator& o : operators) {
      if ((!o.debian_only || scheme_ == Scheme::debian) && in_.at(o.text)) {
        op = o.op;
        in_.move_to(in_.pos() + o.text.size());
        in_.skip_blanks();
        break;
      }
    }
    const std::size_t start = in_.pos();
    const std::string_view operand = in_.take_operand();
    // An operator's character starts no operand: "<<1" is no natural range.
    if (operand.empty() || operand.find_first_of("<>=!") == 0) {
      return in_.fail(start, P::RangeOperand);
    }
    RangeBound bound{op, {}, std::string(operand)};
    if (auto key = append_order_key(bound.key, operand, scheme_); !key) {
      return std::unexpected(in_.shifted(std::move(key.error()), start));
    }
    out.push_back(std::move(bound));
    return {};
  }

  detail::RangeText in_;
  Scheme scheme_;
};

// The key's bytes up to its pre-release or release mark.
std::size_t semver_release_size(std::string_view key) noexcept {
  std::size_t at = 0;
  for (int i = 0; i < 3; ++i) at += detail::decimal_size(key, at);
  return at;
}
constexpr char semver_release_mark = 0x03;

// A pre-release passes an alternative of the semver scheme only through a
// bound that names a pre-release of its major.minor.patch.
bool admits_prerelease(const std::vector<RangeBound>& alternative, std::string_view key,
                       std::size_t release) noexcept {
  return std::ranges::any_of(alternative, [&](const RangeBound& b) {
    const std::size_t size = semver_release_size(b.key);
    return size < b.key.size() && b.key[size] != semver_release_mark &&
           std::string_view(b.key).substr(0, size) == key.substr(0, release);
  });
}

}  // namespace

SchemeRange::SchemeRange() = default;
SchemeRange::SchemeRange(Scheme s, bool include, std::vector<std::vector<RangeBound>> bounds)
    : scheme(s), include_prerelease(include), alternatives(std::move(bounds)) {}
SchemeRange::SchemeRange(const SchemeRange&) = default;
SchemeRange::SchemeRange(SchemeRange&&) noexcept = default;
SchemeRange& SchemeRange::operator=(const SchemeRange&) = default;
SchemeRange& SchemeRange::operator=(SchemeRange&&) noexcept = default;
SchemeRange::~SchemeRange() = default;

std::expected<SchemeRange, ParseError> read_range(std::string_view text, Scheme s,
                                                  bool include_prerelease) {
  switch (s) {
    case Scheme::tolva: {
      auto own = parse_range(text);
      if (!own) return std::unexpected(std::move(own.error()));
      SchemeRange range(s, include_prerelease, {});
      range.own.push_back(std::move(*own));
      return range;
    }
    case Scheme::semver: return detail::read_semver_range(text, include_prerelease);
    case Scheme::natural:
    case Scheme::debian: break;
  }
  return OperatorRange(text, s).read();
}

bool contains_key(const SchemeRange& range, std::string_view key) noexcept {
  std::size_t release = 0;
  bool held_back = false;
  if (range.scheme == Scheme::semver && !range.include_prerelease) {
    release = semver_release_size(key);
    held_back = release < key.size() && key[release] != semver_release_mark;
  }
  return std::ranges::any_of(range.alternatives, [&](const std::vector<RangeBound>& alternative) {
    const bool all = std::ranges::all_of(
        alternative, [&](const RangeBound& b) { return detail::holds(key, b); });
    return all && (!held_back || admits_prerelease(alternative, key, release));
  });
}

std::expected<bool, ParseError> contains(const SchemeRange& range, std::string_view text) {
  if (range.scheme == Scheme::tolva) {
    auto v = parse_as<Version>(text);
    if (!v) return std::unexpected(std::move(v.error()));
    RangeOptions options;
    options.include_prerelease = range.include_prerelease;
    return !range.own.empty() && tolva::contains(range.own.front(), *v, options);
  }
  std::string key;
  if (auto done = append_order_key(key, text, range.scheme); !done) {
    return std::unexpected(std::move(done.error()));
  }
  return contains_key(range, key);
}

}  // namespace tolva::scheme
