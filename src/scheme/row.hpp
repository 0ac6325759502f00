#pragma once

#include <compare>
#include <expected>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tolva/grammar/range_text.hpp"
#include "tolva/scheme/order.hpp"
#include "values/key_bytes.hpp"

// The table of orders: one row per scheme, each defined in the scheme's own
// source file and listed in table.cpp. Everything the library and the tool
// do with an order goes through its row.
namespace tolva::scheme::detail {

using Read = std::expected<void, ParseError>;
using Keyed = std::expected<KeyFacts, ParseError>;

struct Row {
  Scheme scheme;
  // Its name first, then any other names it has ("npm" beside "semver").
  std::span<const std::string_view> names;

  // Reads the text: if it reads, appends its key (key_bytes' pieces, its
  // layout documented beside the writer) and tells the facts ranges need;
  // else the error, with `out` as it was.
  Keyed (*append_key)(std::string& out, std::string_view text, const Order& order);
  // The most bytes append_key appends for a text of `size` bytes. The tool
  // reserves it for each line it keys, so it must be tight: a small multiple
  // of `size` (at most twice) and a constant.
  std::size_t (*key_size_bound)(std::size_t size, const Order& order) noexcept;
  // The fields of the text's version (its error if it does not read); null
  // for tolva's, whose values show their own forms.
  std::expected<std::vector<Field>, ParseError> (*fields)(std::string_view text,
                                                          const Order& order);
  // Reads the range text into `out.alternatives`, from the start of `in` to
  // its end: comparators_range for the common syntax, or a rule of its own
  // over the same reader.
  Read (*read_range)(grammar::RangeText& in, const Order& order, KeyRange& out);

  // Whether the text reads, building nothing (check_by_reading).
  Read (*check)(std::string_view text, const Order& order);
  // The scheme's own comparison of two texts, written apart from its key so
  // that tests and the fuzz target hold the key to it (compare_by_reading).
  std::expected<std::weak_ordering, ParseError> (*compare)(std::string_view a, std::string_view b,
                                                           const Order& order);

  // Optional, for a key that counts only if it passes `bar` (newest's worst
  // kept line): as append_key, but the writer may stop once the bytes it
  // wrote settle the key short of the bar, reading the rest of the text only
  // to tell whether it reads; then nullopt, with `out` as it was.
  std::expected<std::optional<KeyFacts>, ParseError> (*append_key_past)(
      std::string& out, std::string_view text, const Order& order, key_bytes::Bar bar) = nullptr;
};

// A row's check and compare for a scheme whose `read` gives a version's
// parts, which `order` compares.
template <auto read>
Read check_by_reading(std::string_view text, const Order&) {
  if (auto v = read(text); !v) return std::unexpected(std::move(v.error()));
  return {};
}
template <auto read, auto order>
std::expected<std::weak_ordering, ParseError> compare_by_reading(std::string_view a,
                                                                 std::string_view b, const Order&) {
  auto x = read(a);
  if (!x) return std::unexpected(std::move(x.error()));
  auto y = read(b);
  if (!y) return std::unexpected(std::move(y.error()));
  return order(*x, *y);
}

// A row's compare for a scheme that is held to the ecosystem's own tool by
// its keys alone: the order of the two texts' keys.
template <auto append_key>
std::expected<std::weak_ordering, ParseError> compare_by_keys(std::string_view a,
                                                              std::string_view b,
                                                              const Order& order) {
  std::string x, y;
  if (auto k = append_key(x, a, order); !k) return std::unexpected(std::move(k.error()));
  if (auto k = append_key(y, b, order); !k) return std::unexpected(std::move(k.error()));
  return x.compare(y) <=> 0;
}

// A scheme's names as its row holds them: its name in the list of schemes.
constexpr std::span<const std::string_view> names_of(Scheme s) noexcept {
  return {&scheme::named_schemes[static_cast<std::size_t>(s)].name, 1};
}

// The row of a scheme whose `read` gives a version's parts, which `compare`
// orders.
template <auto read, auto compare>
constexpr Row row_of(Scheme s, decltype(Row::append_key) append_key,
                     decltype(Row::key_size_bound) key_size_bound, decltype(Row::fields) fields,
                     decltype(Row::read_range) read_range,
                     decltype(Row::append_key_past) append_key_past = nullptr) {
  return {s,
          names_of(s),
          append_key,
          key_size_bound,
          fields,
          read_range,
          check_by_reading<read>,
          compare_by_reading<read, compare>,
          append_key_past};
}

// The row of a scheme.
const Row& row(Scheme s) noexcept;

// The rows, one source file each.
extern const Row tolva_row;
extern const Row semver_row;
extern const Row natural_row;
extern const Row debian_row;
extern const Row rpm_row;
extern const Row apk_row;
extern const Row alpm_row;
extern const Row pypi_row;
extern const Row cargo_row;
extern const Row gem_row;
extern const Row golang_row;
extern const Row nuget_row;
extern const Row composer_row;
extern const Row maven_row;

// The bound `op operand`, keyed by the order's row. A pre-release operand
// admits the pre-releases of its own release when `admits` (as SemVer's
// ranges do); an error is placed in the range text.
std::expected<KeyBound, ParseError> operand_bound(const grammar::RangeText& in, std::size_t start,
                                                  RangeOp op, std::string_view operand,
                                                  const Order& order, bool admits = false);

// A scheme's common range syntax.
struct Syntax {
  std::span<const grammar::RangeOperator> operators;  // each tests its comparison()
  bool commas = true;                                 // whether commas join comparators too
  // Bytes no operand may hold (a wildcard where the scheme has none),
  // refused where they stand with `instead` expected.
  std::string_view refused = {};
  grammar::ExpectedPattern instead = grammar::ExpectedPattern::RangeOperand;
};

// The common range syntax: alternatives joined by "||", each comparators
// that must all hold, joined by blanks (and commas); a comparator is one of
// the syntax's operators (none: =) and an operand, read by the order's row up
// to the next blank, comma, '|' or the end. No alternative may be empty.
Read comparators_range(grammar::RangeText& in, const Order& order, const Syntax& syntax,
                       KeyRange& out);

// The decimal number one above `digits`, as wide at least: "10" of "9",
// "010" of "009".
std::string plus_one(std::string_view digits);

// Fields made of views into a text: a number (its digits without leading
// zeros), a text, and a list split at `separator` (absent when empty).
Field number_field(std::string_view name, std::string_view digits);
Field text_field(std::string_view name, std::string_view value);
Field list_field(std::string_view name, std::string_view list, char separator);

}  // namespace tolva::scheme::detail
