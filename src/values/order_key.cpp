#include "tolva/values/order_key.hpp"

#include <algorithm>
#include <bit>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "part_number.hpp"

namespace tolva {
namespace {

using Kinds = decltype(Version::value);
static_assert(std::is_same_v<std::variant_alternative_t<0, Kinds>, SemVer> &&
              std::is_same_v<std::variant_alternative_t<1, Kinds>, DotSeparated> &&
              std::is_same_v<std::variant_alternative_t<2, Kinds>, Other>);
constexpr std::uint8_t semver_rank = 0x00;
constexpr std::uint8_t dot_separated_rank = 0x01;
constexpr std::uint8_t other_rank = 0x02;

constexpr std::uint8_t part_mark = 0x01;
constexpr std::uint8_t escape = 0x02;  // the highest byte a text escapes
constexpr std::uint8_t absent_rc = 0xFF;
constexpr std::uint8_t long_number = 0xF0;
// The numeric part order's first byte of a part.
constexpr std::uint8_t number_part = 0x03;
constexpr std::uint8_t text_part = 0x04;

// Appends the whole key.
class WholeKey {
 public:
  explicit WholeKey(std::string& out) noexcept : out_(out) {}
  static constexpr bool open() noexcept { return true; }
  void put(std::uint8_t byte) { out_.push_back(static_cast<char>(byte)); }

 private:
  std::string& out_;
};

// Writes as much of the key as fits and notes whether any of it was left out;
// once something was, the writers stop early.
class KeyPrefix {
 public:
  explicit KeyPrefix(std::span<std::uint8_t> out) noexcept
      : next_(out.data()), end_(out.data() + out.size()) {}
  bool open() const noexcept { return whole_; }
  void put(std::uint8_t byte) noexcept {
    if (next_ == end_) {
      whole_ = false;
      return;
    }
    *next_++ = byte;
  }
  // Zero bytes fill the rest; whether the whole key fit.
  bool finish() noexcept {
    std::fill(next_, end_, std::uint8_t{0});
    return whole_;
  }

 private:
  std::uint8_t* next_;
  std::uint8_t* end_;
  bool whole_ = true;
};

// More bytes make a larger number, and every long form sorts after every
// one-byte form.
template <class Key>
void put_number(Key& key, std::uint32_t n) {
  if (n < long_number) return key.put(static_cast<std::uint8_t>(n));
  const int bytes = (std::bit_width(n) + 7) / 8;
  key.put(static_cast<std::uint8_t>(long_number + bytes));
  for (int i = bytes - 1; i >= 0; --i) key.put(static_cast<std::uint8_t>(n >> (8 * i)));
}

// Every byte the text writes unescaped, and the escape itself, lies above
// the part mark and the zero padding.
template <class Key>
void put_text(Key& key, std::string_view text) {
  for (char c : text) {
    if (!key.open()) return;
    const auto byte = static_cast<std::uint8_t>(c);
    if (byte <= escape) key.put(escape);
    key.put(byte);
  }
}

// A count of any size as put_number writes it; `descending` writes each byte
// complemented, which reverses the order of the (prefix-free) forms.
template <class Key>
void put_count(Key& key, std::uint64_t n, bool descending) {
  const std::uint8_t flip = descending ? 0xFF : 0x00;
  auto put = [&](std::uint64_t byte) { key.put(static_cast<std::uint8_t>(byte ^ flip)); };
  if (n < long_number) return put(n);
  const int bytes = (std::bit_width(n) + 7) / 8;
  put(long_number + static_cast<unsigned>(bytes));
  for (int i = bytes - 1; i >= 0; --i) put((n >> (8 * i)) & 0xFF);
}

// A number: its count of significant digits, the digits, then its count of
// leading zeros, which sets apart numbers of equal value as their texts
// order: more zeros first ("01" < "1"), but for zero fewer first ("0" <
// "00"). Each field is prefix-free, so no number's bytes begin another's.
template <class Key>
void put_part(Key& key, std::string_view part,
              std::integral_constant<PartOrder, PartOrder::numeric>) {
  if (!values_detail::is_number(part)) {
    key.put(text_part);
    return put_text(key, part);
  }
  const std::string_view digits = values_detail::significant_digits(part);
  key.put(number_part);
  put_count(key, digits.size(), false);
  for (char c : digits) {
    if (!key.open()) return;
    key.put(static_cast<std::uint8_t>(c));
  }
  put_count(key, part.size() - digits.size(), !digits.empty());
}

template <class Key>
void put_part(Key& key, std::string_view part, std::integral_constant<PartOrder, PartOrder::text>) {
  put_text(key, part);
}

template <PartOrder P, class Key>
void put_list(Key& key, TextSpan parts) {
  for (const ShortText& part : parts) {
    if (!key.open()) return;
    key.put(part_mark);
    put_part(key, part, std::integral_constant<PartOrder, P>());
  }
}

template <PartOrder P = PartOrder::text, class Key>
void put_value(Key& key, const SemVer& v) {
  key.put(semver_rank);
  put_number(key, v.major);
  put_number(key, v.minor);
  put_number(key, v.patch);
  const OptionalTextSpan rc = v.rc();
  if (rc) {
    put_list<P>(key, *rc);
  } else {
    key.put(absent_rc);
  }
}

template <PartOrder P = PartOrder::text, class Key>
void put_value(Key& key, const DotSeparated& v) {
  key.put(dot_separated_rank);
  put_list<P>(key, v.parts);
}

template <PartOrder P = PartOrder::text, class Key>
void put_value(Key& key, const Other& v) {
  key.put(other_rank);
  put_text(key, v.value);
}

template <PartOrder P = PartOrder::text, class Key>
void put_value(Key& key, const Version& v) {
  v.visit([&](const auto& held) { put_value<P>(key, held); });
}

template <class Key, class Value>
void put_value(Key& key, const Value& v, PartOrder parts) {
  if (parts == PartOrder::numeric) return put_value<PartOrder::numeric>(key, v);
  put_value(key, v);
}

}  // namespace

template <VersionValue V>
void append_order_key(std::string& out, const V& v, PartOrder parts) {
  WholeKey key(out);
  put_value(key, v, parts);
}

template <VersionValue V>
bool write_order_key_prefix(std::span<std::uint8_t> out, const V& v, PartOrder parts) noexcept {
  KeyPrefix key(out);
  put_value(key, v, parts);
  return key.finish();
}

#define TOLVA_ORDER_KEY_FOR(V)                                          \
  template void append_order_key<V>(std::string&, const V&, PartOrder); \
  template bool write_order_key_prefix<V>(std::span<std::uint8_t>, const V&, PartOrder) noexcept;
TOLVA_ORDER_KEY_FOR(Version)
TOLVA_ORDER_KEY_FOR(SemVer)
TOLVA_ORDER_KEY_FOR(DotSeparated)
TOLVA_ORDER_KEY_FOR(Other)
#undef TOLVA_ORDER_KEY_FOR

}  // namespace tolva
