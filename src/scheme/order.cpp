#include <algorithm>
#include <array>

#include "row.hpp"
#include "values/range_op.hpp"

namespace tolva {
namespace {

bool holds(const KeyBound& b, std::string_view key, std::size_t kind_bytes) noexcept {
  const auto same_kind = [&](std::string_view bound) {
    return kind_bytes == 0 || key.substr(0, kind_bytes) == bound.substr(0, kind_bytes);
  };
  if (!same_kind(b.key)) return false;
  return values::detail::op_holds(b.op, key.compare(b.key), [&](int order) {
    return order < 0 || (same_kind(b.upper) && key.compare(b.upper) >= 0);
  });
}

bool admits(const KeyBound& b, std::string_view key) noexcept {
  return b.admits && key.substr(0, *b.admits) == std::string_view(b.key).substr(0, *b.admits);
}

}  // namespace

bool KeyRange::contains(std::string_view key, KeyFacts facts) const noexcept {
  const bool held_back = facts.prerelease && !include_prerelease;
  return std::ranges::any_of(alternatives, [&](const std::vector<KeyBound>& bounds) {
    return std::ranges::all_of(bounds,
                               [&](const KeyBound& b) { return holds(b, key, kind_bytes); }) &&
           (!held_back ||
            std::ranges::any_of(bounds, [&](const KeyBound& b) { return admits(b, key); }));
  });
}

namespace scheme {

using detail::row;

std::string_view name(Scheme s) noexcept { return row(s).names.front(); }

std::optional<Scheme> named(std::string_view text) noexcept {
  for (Scheme s : all) {
    if (std::ranges::find(row(s).names, text) != row(s).names.end()) return s;
  }
  return std::nullopt;
}

std::expected<void, ParseError> check(std::string_view text, const Order& order) {
  return row(order.scheme).check(text, order);
}

std::expected<KeyFacts, ParseError> append_order_key(std::string& out, std::string_view text,
                                                     const Order& order) {
  return row(order.scheme).append_key(out, text, order);
}

std::expected<std::string, ParseError> order_key(std::string_view text, const Order& order) {
  std::string key;
  if (auto made = append_order_key(key, text, order); !made) {
    return std::unexpected(std::move(made.error()));
  }
  return key;
}

std::size_t order_key_size_bound(std::size_t size, const Order& order) noexcept {
  return row(order.scheme).key_size_bound(size, order);
}

std::expected<std::weak_ordering, ParseError> compare(std::string_view a, std::string_view b,
                                                      const Order& order) {
  return row(order.scheme).compare(a, b, order);
}

std::expected<std::vector<Field>, ParseError> fields(std::string_view text, const Order& order) {
  const detail::Row& r = row(order.scheme);
  if (r.fields != nullptr) return r.fields(text, order);
  if (auto read = r.check(text, order); !read) return std::unexpected(std::move(read.error()));
  return std::vector<Field>{};
}

std::expected<KeyRange, ParseError> read_range(std::string_view text, const Order& order,
                                               bool include_prerelease) {
  KeyRange range{order, include_prerelease, 0, {}};
  grammar::RangeText in(text);
  if (auto read = row(order.scheme).read_range(in, order, range); !read) {
    return std::unexpected(std::move(read.error()));
  }
  return range;
}

std::expected<bool, ParseError> contains(const KeyRange& range, std::string_view text) {
  std::string key;
  auto facts = append_order_key(key, text, range.order);
  if (!facts) return std::unexpected(std::move(facts.error()));
  return range.contains(key, *facts);
}

namespace detail {

using P = grammar::ExpectedPattern;

std::expected<KeyBound, ParseError> operand_bound(const grammar::RangeText& in, std::size_t start,
                                                  RangeOp op, std::string_view operand,
                                                  const Order& order, bool admits) {
  KeyBound bound{op, {}, {}, std::nullopt, std::string(operand), {}};
  auto facts = row(order.scheme).append_key(bound.key, operand, order);
  if (!facts) return in.fail_in_operand(std::move(facts.error()), start);
  if (admits && facts->prerelease) bound.admits = facts->release;
  return bound;
}

Read comparators_range(grammar::RangeText& in, const Order& order, const Syntax& syntax,
                       KeyRange& out) {
  in.skip_blanks();
  for (;;) {
    auto& alternative = out.alternatives.emplace_back();
    do {
      if (in.at_alternative_end() || (syntax.commas && in.at(','))) {
        return in.fail(in.pos(), {P::Comparator});
      }
      auto op = in.take_operator(syntax.operators, P::RangeOperand);
      if (!op) return std::unexpected(std::move(op.error()));
      const std::size_t start = in.pos();
      const std::string_view operand = in.take_operand(syntax.commas);
      // An operator's character starts no operand: "=<1" is no range.
      if (operand.empty() || operand.find_first_of("<>=!^~") == 0) {
        return in.fail(start, {P::RangeOperand});
      }
      if (const std::size_t at = operand.find_first_of(syntax.refused); at != operand.npos) {
        return in.fail(start + at, {syntax.instead});
      }
      const RangeOp tested = op->has_value() ? grammar::comparison(**op) : RangeOp::equal;
      auto bound = operand_bound(in, start, tested, operand, order);
      if (!bound) return std::unexpected(std::move(bound.error()));
      alternative.push_back(std::move(*bound));
    } while (in.skip_joiner(syntax.commas) || !in.at_alternative_end());
    if (in.at_end()) return {};
    if (auto bars = in.take_bars(); !bars) return bars;
  }
}

std::string plus_one(std::string_view digits) {
  std::string out(digits);
  std::size_t i = out.size();
  while (i > 0 && out[i - 1] == '9') out[--i] = '0';
  if (i == 0) return '1' + out;
  ++out[i - 1];
  return out;
}

Field number_field(std::string_view name, std::string_view digits) {
  const std::string_view value = key_bytes::significant_digits(digits);
  return {name, Field::Form::number, std::string(value.empty() ? "0" : value), {}};
}

Field text_field(std::string_view name, std::string_view value) {
  return {name, Field::Form::text, std::string(value), {}};
}

Field list_field(std::string_view name, std::string_view list, char separator) {
  if (list.empty()) return {name, Field::Form::absent, {}, {}};
  Field f{name, Field::Form::list, {}, {}};
  for (std::size_t at; (at = list.find(separator)) != list.npos; list.remove_prefix(at + 1)) {
    f.items.emplace_back(list.substr(0, at));
  }
  f.items.emplace_back(list);
  return f;
}

}  // namespace detail
}  // namespace scheme
}  // namespace tolva
