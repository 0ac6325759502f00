#include <type_traits>

#include "row.hpp"
#include "tolva/grammar/read_range.hpp"
#include "tolva/grammar/text_order_key.hpp"
#include "tolva/values/order_key.hpp"

// tolva's own order as a row: the texts read as the order's kind (any kind: a
// Version), keyed as tolva/values/order_key.hpp describes in the order's part
// order, and tolva's own range syntax (tolva::parse_range).
namespace tolva::scheme::detail {
namespace {

// `f(std::type_identity<K>{})` with the type the order reads its texts as.
template <class F>
decltype(auto) with_kind(const Order& order, F&& f) {
  if (!order.kind) return f(std::type_identity<Version>{});
  switch (*order.kind) {
    case Kind::semver: return f(std::type_identity<SemVer>{});
    case Kind::dot_separated: return f(std::type_identity<DotSeparated>{});
    case Kind::other: break;
  }
  return f(std::type_identity<Other>{});
}

constexpr std::uint8_t semver_rank = 0x00;
constexpr std::uint8_t absent_rc = 0xFF;

// What a key just written tells ranges: a SemVer's key is its rank, its three
// numbers (each a count, whose first byte gives its length) and its rc,
// absent (0xFF) or present (anything else, or nothing for an empty one).
KeyFacts facts_of(std::string_view key) noexcept {
  if (key.empty() || static_cast<std::uint8_t>(key[0]) != semver_rank) return {};
  std::size_t at = 1;
  for (int number = 0; number < 3; ++number) {
    const auto first = static_cast<std::uint8_t>(key[at]);
    at += first < key_bytes::long_count ? 1 : 1 + (first - key_bytes::long_count);
  }
  const bool prerelease = at == key.size() || static_cast<std::uint8_t>(key[at]) != absent_rc;
  return {prerelease, static_cast<std::uint32_t>(at)};
}

Keyed tolva_key(std::string& out, std::string_view text, const Order& order) {
  const std::size_t start = out.size();
  auto made = with_kind(order, [&]<class K>(std::type_identity<K>) {
    return append_order_key_as<K>(out, text, order.parts);
  });
  if (!made) return std::unexpected(std::move(made.error()));
  return facts_of(std::string_view(out).substr(start));
}

std::size_t tolva_key_bound(std::size_t size, const Order& order) noexcept {
  return order_key_size_bound(size, order.parts);
}

Read tolva_check(std::string_view text, const Order& order) {
  return with_kind(order, [&]<class K>(std::type_identity<K>) { return check_as<K>(text); });
}

std::expected<std::weak_ordering, ParseError> tolva_compare(std::string_view a, std::string_view b,
                                                            const Order& order) {
  return with_kind(
      order, [&]<class K>(std::type_identity<K>) -> std::expected<std::weak_ordering, ParseError> {
        auto x = parse_as<K>(a);
        if (!x) return std::unexpected(std::move(x.error()));
        auto y = parse_as<K>(b);
        if (!y) return std::unexpected(std::move(y.error()));
        return compare(*x, *y, order.parts);
      });
}

// tolva's ranges hold only for versions of their operand's kind: the first
// byte of a key.
Read tolva_range(grammar::RangeText& in, const Order& order, KeyRange& out) {
  auto range = parse_range(in.text());
  if (!range) return std::unexpected(std::move(range.error()));
  in.move_to(in.text().size());
  out.kind_bytes = 1;
  for (const List<Comparator>& comparators : range->alternatives) {
    std::vector<KeyBound>& bounds = out.alternatives.emplace_back();
    for (const Comparator& c : comparators) {
      KeyBound& b =
          bounds.emplace_back(KeyBound{c.op, order_key(c.operand, order.parts), {}, {}, {}, {}});
      if (c.op == RangeOp::outside) b.upper = order_key(c.upper, order.parts);
      if (c.names_prerelease) b.admits = facts_of(b.key).release;
    }
  }
  return {};
}

}  // namespace

const Row tolva_row{
    .scheme = Scheme::tolva,
    .names = names_of(Scheme::tolva),
    .append_key = tolva_key,
    .key_size_bound = tolva_key_bound,
    .fields = nullptr,
    .read_range = tolva_range,
    .check = tolva_check,
    .compare = tolva_compare,
};

}  // namespace tolva::scheme::detail
