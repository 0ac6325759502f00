#include "tolva/values/order_key.hpp"

#include <algorithm>
#include <bit>
#include <string_view>
#include <type_traits>
#include <variant>

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

template <class Key>
void put_list(Key& key, TextSpan parts) {
  for (const ShortText& part : parts) {
    if (!key.open()) return;
    key.put(part_mark);
    put_text(key, part);
  }
}

template <class Key>
void put_value(Key& key, const SemVer& v) {
  key.put(semver_rank);
  put_number(key, v.major);
  put_number(key, v.minor);
  put_number(key, v.patch);
  const OptionalTextSpan rc = v.rc();
  if (rc) {
    put_list(key, *rc);
  } else {
    key.put(absent_rc);
  }
}

template <class Key>
void put_value(Key& key, const DotSeparated& v) {
  key.put(dot_separated_rank);
  put_list(key, v.parts);
}

template <class Key>
void put_value(Key& key, const Other& v) {
  key.put(other_rank);
  put_text(key, v.value);
}

template <class Key>
void put_value(Key& key, const Version& v) {
  std::visit([&](const auto& held) { put_value(key, held); }, v.value);
}

template <class Value>
void append_key(std::string& out, const Value& v) {
  WholeKey key(out);
  put_value(key, v);
}

template <class Value>
std::string whole_key(const Value& v) {
  std::string out;
  append_key(out, v);
  return out;
}

template <class Value>
bool write_prefix(std::span<std::uint8_t> out, const Value& v) noexcept {
  KeyPrefix key(out);
  put_value(key, v);
  return key.finish();
}

}  // namespace

void append_order_key(std::string& out, const Version& v) { append_key(out, v); }
void append_order_key(std::string& out, const SemVer& v) { append_key(out, v); }
void append_order_key(std::string& out, const DotSeparated& v) { append_key(out, v); }
void append_order_key(std::string& out, const Other& v) { append_key(out, v); }

std::string order_key(const Version& v) { return whole_key(v); }
std::string order_key(const SemVer& v) { return whole_key(v); }
std::string order_key(const DotSeparated& v) { return whole_key(v); }
std::string order_key(const Other& v) { return whole_key(v); }

bool write_order_key_prefix(std::span<std::uint8_t> out, const Version& v) noexcept {
  return write_prefix(out, v);
}
bool write_order_key_prefix(std::span<std::uint8_t> out, const SemVer& v) noexcept {
  return write_prefix(out, v);
}
bool write_order_key_prefix(std::span<std::uint8_t> out, const DotSeparated& v) noexcept {
  return write_prefix(out, v);
}
bool write_order_key_prefix(std::span<std::uint8_t> out, const Other& v) noexcept {
  return write_prefix(out, v);
}

}  // namespace tolva
