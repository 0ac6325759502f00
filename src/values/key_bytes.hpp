#pragma once

#include <algorithm>
#include <bit>
#include <compare>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The pieces every order key is written in, tolva's own and each version
// scheme's. Keys compare as unsigned bytes, a proper prefix first. Each piece
// below is prefix-free (no piece's bytes begin another piece of its sort), so
// keys written as pieces in a row compare piece by piece:
//
//   count   an unsigned integer n: below 0xF0 one byte, n; else 0xF0 plus
//           its byte count b (1 to 8), then n in b bytes, most significant
//           first. Larger counts have larger forms. Complementing every
//           byte (descending) reverses that order.
//   number  a decimal of any length, by value (leading zeros and the empty
//           text are 0): below 200 one byte, its value; 3 to 54 significant
//           digits, 200 plus their count, then the digits; more, 0xFF, the
//           digit count as a count, then the digits. At most 10 bytes more
//           than the significant digits, and never more than one byte per
//           digit and 2 bytes: a two-digit number takes one byte.
//   text    bytes, each of 0x00, 0x01 and 0x02 written as 0x02 and the byte,
//           then a terminator: 0x00 or 0x01 (`end`), below every byte a
//           text writes, so a text sorts before its own extensions.
//   mark    a byte a key's layout sets apart (a kind's rank, a release's
//           mark): the scheme's own, and documented beside its key.
//
// Pieces are written into a sink, one of the three below: room reserved for
// the whole key, a string, or a fixed prefix that stops the writer once full.
namespace tolva::key_bytes {

inline constexpr std::uint8_t end = 0x01;
inline constexpr std::uint8_t low_end = 0x00;
inline constexpr std::uint8_t escape = 0x02;  // the highest byte a text escapes
inline constexpr std::uint8_t long_count = 0xF0;
inline constexpr unsigned small_numbers = 200;
inline constexpr unsigned counted_digits = 0xFF - small_numbers;  // 3 to 54 digits

// A key that another must pass to count (the worst of the best lines kept
// so far), and the side it must pass on: 1 above, -1 below.
struct Bar {
  std::string_view key;
  int side = 1;

  // Whether a key that begins with `written` is already settled short of
  // the bar: it differs from the bar's key at a written byte on the wrong
  // side, or (passing below) is longer than a bar it begins with. A key
  // equal to the bar so far may still go either way.
  bool missed_by(std::string_view written) const noexcept {
    const std::size_t n = std::min(written.size(), key.size());
    for (std::size_t i = 0; i < n; ++i) {
      const auto w = static_cast<std::uint8_t>(written[i]);
      const auto k = static_cast<std::uint8_t>(key[i]);
      if (w != k) return (w < k) == (side > 0);
    }
    return side < 0 && written.size() > key.size();
  }
};

// Writes into room reserved for the whole key (see append_key).
class Room {
 public:
  explicit Room(char* at) noexcept : at_(at) {}
  static constexpr bool open() noexcept { return true; }
  void put(std::uint8_t byte) noexcept { *at_++ = static_cast<char>(byte); }
  void put(std::string_view bytes) noexcept { at_ = std::copy(bytes.begin(), bytes.end(), at_); }
  char* at() const noexcept { return at_; }
  // The bytes written since `start`.
  std::string_view since(const char* start) const noexcept {
    return {start, static_cast<std::size_t>(at_ - start)};
  }

 private:
  char* at_;
};

// Appends to a string.
class WholeKey {
 public:
  explicit WholeKey(std::string& out) noexcept : out_(out) {}
  static constexpr bool open() noexcept { return true; }
  void put(std::uint8_t byte) { out_.push_back(static_cast<char>(byte)); }
  void put(std::string_view bytes) { out_.append(bytes); }

 private:
  std::string& out_;
};

// Writes as much of the key as fits and notes whether any of it was left
// out; once full, open() is false and writers stop early.
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
  void put(std::string_view bytes) noexcept {
    for (char c : bytes) put(static_cast<std::uint8_t>(c));
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

// Appends to `out` the key `write(Room&)` writes, given room for `bound`
// bytes, which it must not outgrow. Only the room is reserved: keep bounds
// tight, as the tool reserves one for a line of any length.
template <class Write>
void append_key(std::string& out, std::size_t bound, Write write) {
  const std::size_t old = out.size();
  out.resize_and_overwrite(old + bound, [&](char* p, std::size_t) {
    Room room(p + old);
    write(room);
    return static_cast<std::size_t>(room.at() - p);
  });
}

template <class Sink>
void put_count(Sink& out, std::uint64_t n, bool descending = false) {
  const std::uint8_t flip = descending ? 0xFF : 0x00;
  if (n < long_count) return out.put(static_cast<std::uint8_t>(n ^ flip));
  const int bytes = (std::bit_width(n) + 7) / 8;
  out.put(static_cast<std::uint8_t>((long_count + static_cast<unsigned>(bytes)) ^ flip));
  for (int i = bytes - 1; i >= 0; --i) out.put(static_cast<std::uint8_t>((n >> (8 * i)) ^ flip));
}

constexpr bool is_digit(char c) noexcept { return c >= '0' && c <= '9'; }
constexpr bool is_letter(char c) noexcept {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

inline std::string_view significant_digits(std::string_view digits) noexcept {
  std::size_t first = 0;
  while (first < digits.size() && digits[first] == '0') ++first;
  return digits.substr(first);
}

// `digits` holds only '0' to '9'.
template <class Sink>
void put_number(Sink& out, std::string_view digits) {
  // The most common numbers, leading zeros and all, by value at once.
  if (digits.size() <= 2) {
    unsigned n = 0;
    for (char c : digits) n = n * 10 + static_cast<unsigned>(c - '0');
    return out.put(static_cast<std::uint8_t>(n));
  }
  digits = significant_digits(digits);
  const std::size_t size = digits.size();
  // Below 200: at most two digits, or three starting with 1.
  if (size <= 2 || (size == 3 && digits[0] == '1')) {
    unsigned n = 0;
    for (char c : digits) n = n * 10 + static_cast<unsigned>(c - '0');
    return out.put(static_cast<std::uint8_t>(n));
  }
  if (size < counted_digits) {
    out.put(static_cast<std::uint8_t>(small_numbers + size));
  } else {
    out.put(std::uint8_t{0xFF});
    put_count(out, size);
  }
  out.put(digits);
}

// A text without its terminator: the caller writes `end` or `low_end`.
template <class Sink>
void put_text(Sink& out, std::string_view text) {
  for (char c : text) {
    if (!out.open()) return;
    const auto byte = static_cast<std::uint8_t>(c);
    if (byte <= escape) out.put(escape);
    out.put(byte);
  }
}

// Two runs of digits by value, as their numbers' keys order.
inline std::strong_ordering compare_numbers(std::string_view a, std::string_view b) noexcept {
  a = significant_digits(a);
  b = significant_digits(b);
  if (a.size() != b.size()) return a.size() <=> b.size();
  return a.compare(b) <=> 0;
}

}  // namespace tolva::key_bytes
