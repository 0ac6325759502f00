#pragma once

#include <expected>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "row.hpp"

// The common range syntax (alternatives joined by "||", comparators joined by
// blanks, and by commas when `commas`, each an operator, "=" when none, and an
// operand) for a scheme whose
// comparator may stand for more than one bound: an operand that leaves its
// release out, or apk's fuzzy "~", holds for a span of keys rather than at
// one key.
namespace tolva::scheme::detail {

// The least key above every key that begins with `prefix`: its last byte
// below 0xFF raised by one, the 0xFF bytes after it dropped; empty when it
// has none (every key then lies below).
inline std::string past_prefix(std::string_view prefix) {
  std::string out(prefix);
  while (!out.empty() && static_cast<unsigned char>(out.back()) == 0xFF) out.pop_back();
  if (!out.empty()) out.back() = static_cast<char>(static_cast<unsigned char>(out.back()) + 1);
  return out;
}

// A bound at `key`, the version `text` there (KeyBound::text).
inline KeyBound bound_at(RangeOp op, std::string key, std::string_view text = {}) {
  return {.op = op,
          .key = std::move(key),
          .upper = {},
          .admits = {},
          .text = std::string(text),
          .upper_text = {}};
}

// The bounds of the keys that begin with `prefix`, the least of which is the
// version `text`; the versions above them have no least one to name.
inline void add_prefix(std::vector<KeyBound>& to, std::string_view prefix, std::string_view text) {
  to.push_back(bound_at(RangeOp::greater_equal, std::string(prefix), text));
  if (std::string past = past_prefix(prefix); !past.empty())
    to.push_back(bound_at(RangeOp::less, std::move(past)));
}

// The test of <, <=, =, >=, > and !=.
constexpr RangeOp plain_test(grammar::RangeOperator op) noexcept {
  using enum grammar::RangeOperator;
  switch (op) {
    case less: return RangeOp::less;
    case less_equal: return RangeOp::less_equal;
    case greater: return RangeOp::greater;
    case greater_equal: return RangeOp::greater_equal;
    case not_equal: return RangeOp::not_equal;
    default: return RangeOp::equal;
  }
}

// `add(op, operand, bounds)` appends the bounds of one comparator (`op` is
// "=" where none was written), or gives the operand's error, which is placed
// where the operand starts.
template <class Add>
Read comparator_bounds_range(grammar::RangeText& in,
                             std::span<const grammar::RangeOperator> operators, bool commas,
                             Add add, KeyRange& out) {
  in.skip_blanks();
  out.alternatives.emplace_back();
  for (;;) {
    if (in.at_alternative_end()) {
      if (out.alternatives.back().empty())
        return in.fail(in.pos(), {grammar::ExpectedPattern::Comparator});
      if (in.at_end()) return {};
      if (auto bars = in.take_bars(); !bars) return std::unexpected(bars.error());
      out.alternatives.emplace_back();
      continue;
    }
    auto op = in.take_operator(operators, grammar::ExpectedPattern::RangeOperand);
    if (!op) return std::unexpected(op.error());
    const std::size_t start = in.pos();
    const std::string_view operand = in.take_operand(commas);
    if (operand.empty()) return in.fail(start, {grammar::ExpectedPattern::RangeOperand});
    if (auto added =
            add(op->value_or(grammar::RangeOperator::equal), operand, out.alternatives.back());
        !added)
      return in.fail_in_operand(added.error(), start);
    in.skip_joiner(commas);
  }
}

}  // namespace tolva::scheme::detail
