// Python's version specifiers: ~=, ==, !=, <=, >=, <, >, and == and !=
// with a trailing ".*", joined by commas.
#include <array>

#include "pypi.hpp"

namespace tolva::scheme::detail::pypi {
namespace {

using P = grammar::ExpectedPattern;
using Op = grammar::RangeOperator;

constexpr std::string_view shown_comma = "','";
constexpr std::string_view shown_two_numbers = "'.' and a number";
constexpr std::string_view shown_no_local = "an operator that allows a local version";
constexpr P comma{shown_comma};
constexpr P two_numbers{shown_two_numbers};
constexpr P no_local{shown_no_local};

// The versions whose release begins with `prefix` (of the same epoch): from
// the prefix's key cut after its numbers to the key of the prefix with its
// last number one higher, cut the same way; and the least version at each
// cut, its release's first dev release.
struct PrefixBounds {
  std::string low, high, low_text, high_text;
};
PrefixBounds prefix_bounds(std::string_view epoch, std::string_view prefix) {
  const std::size_t dot = prefix.rfind('.');
  const std::string next =
      std::string(prefix.substr(0, dot == prefix.npos ? 0 : dot + 1)) +
      plus_one(key_bytes::significant_digits(prefix.substr(dot == prefix.npos ? 0 : dot + 1)));
  Parts v;
  v.epoch = epoch;
  v.release = prefix;
  MadeKey low = made_key(v);
  v.release = next;
  MadeKey high = made_key(v);
  low.key.resize(low.marks.release_end);
  high.key.resize(high.marks.release_end);
  const std::string in_epoch = epoch.empty() ? "" : std::string(epoch) + '!';
  return {std::move(low.key), std::move(high.key), in_epoch + std::string(prefix) + ".dev0",
          in_epoch + next + ".dev0"};
}

constexpr std::array<Op, 7> operators{Op::tilde_equal, Op::equal_equal,   Op::not_equal,
                                      Op::less_equal,  Op::greater_equal, Op::less,
                                      Op::greater};

// One specifier's bounds. A key cut after its local mark and followed by 3
// lies above every local version of that public version; cut after the
// post-release mark and followed by 2, above every post-release of it.
void add_bounds(std::vector<KeyBound>& out, Op op, const Parts& v, std::string_view text) {
  const MadeKey k = made_key(v);
  const std::string above_locals = k.key.substr(0, k.marks.local) + '\x03';
  const std::size_t first = out.size();
  // The least version above every local version of the operand: its first
  // post-release's first dev release, where it is neither of those itself.
  const std::string past_locals = v.post || v.dev ? "" : std::string(text) + ".post0.dev0";
  // `at` names the version at the key, or the least above it (KeyBound::text).
  auto push = [&](RangeOp o, std::string key, std::string_view at = {}, std::string upper = {},
                  std::string_view upper_at = {}) {
    out.push_back(
        {o, std::move(key), std::move(upper), {}, std::string(at), std::string(upper_at)});
  };
  if (v.wildcard || op == Op::tilde_equal) {
    std::string_view prefix = v.release;
    if (op == Op::tilde_equal) prefix = prefix.substr(0, prefix.rfind('.'));
    if (op == Op::tilde_equal) push(RangeOp::greater_equal, k.key, text);
    auto p = prefix_bounds(v.epoch, prefix);
    if (op == Op::not_equal)
      return push(RangeOp::outside, std::move(p.low), p.low_text, std::move(p.high), p.high_text);
    push(RangeOp::greater_equal, std::move(p.low), p.low_text);
    push(RangeOp::less, std::move(p.high), p.high_text);
  } else if (!v.local.empty()) {
    push(op == Op::equal_equal ? RangeOp::equal : RangeOp::not_equal, k.key, text);
  } else if (op == Op::equal_equal || op == Op::greater_equal) {
    // Without a local version of its own, the operand stands for every
    // local version of it.
    push(RangeOp::greater_equal, k.key, text);
    if (op == Op::equal_equal) push(RangeOp::less, above_locals, past_locals);
  } else if (op == Op::not_equal) {
    return push(RangeOp::outside, k.key, text, above_locals, past_locals);
  } else if (op == Op::less_equal) {
    push(RangeOp::less, above_locals, past_locals);
  } else if (op == Op::less) {
    // Below a final release: below its pre-releases too.
    Parts first_dev = v;
    first_dev.dev = true;
    first_dev.dev_n = {};
    if (!v.post) first_dev.pre = v.pre == final ? dev_only : v.pre;
    if (v.prerelease()) {
      push(RangeOp::less, k.key, text);
    } else {
      push(RangeOp::less, made_key(first_dev).key, std::string(text) + ".dev0");
    }
  } else {
    // Above a version that is not a post- or dev-release: above its
    // post-releases too.
    const bool plain = !v.post && !v.dev;
    push(RangeOp::greater_equal, plain ? k.key.substr(0, k.marks.post) + '\x02' : above_locals);
  }
  // An operand written as a pre-release lets every pre-release in.
  if (v.prerelease() && !v.wildcard && op != Op::not_equal) out[first].admits = 0;
}

}  // namespace

Read read_range(grammar::RangeText& in, const Order&, KeyRange& out) {
  out.prereleases_when_alone = true;
  auto& bounds = out.alternatives.emplace_back();
  in.skip_blanks();
  while (!in.at_end()) {
    auto op = in.take_operator(operators, P::RangeOperand);
    if (!op) return std::unexpected(std::move(op.error()));
    if (!*op) return in.fail(in.pos(), {P::Comparator});
    const std::size_t start = in.pos();
    const std::string_view operand = in.take_operand(true);
    const bool equality = **op == Op::equal_equal || **op == Op::not_equal;
    auto v = read(operand, equality);
    if (!v) return in.fail_in_operand(std::move(v.error()), start);
    if (!v->local.empty() && !equality) {
      return in.fail(start + static_cast<std::size_t>(v->local.data() - operand.data()) - 1,
                     {no_local});
    }
    if (**op == Op::tilde_equal && v->release.find('.') == std::string_view::npos) {
      return in.fail(start + static_cast<std::size_t>(v->release.end() - operand.begin()),
                     {two_numbers});
    }
    add_bounds(bounds, **op, *v, operand);
    in.skip_blanks();
    if (in.at_end()) break;
    if (!in.at(',')) return in.fail(in.pos(), {comma, P::EndOfInput});
    in.skip_joiner(true);
  }
  return {};
}

}  // namespace tolva::scheme::detail::pypi
