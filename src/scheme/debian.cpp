#include <algorithm>
#include <array>
#include <cstdint>

#include "row.hpp"

// The debian scheme: Debian package versions and dpkg's order, as the
// deb-version manual page describes them.
//
//   [epoch:]upstream[-revision]
//
// The epoch is digits before the first colon (0 when absent); the revision
// follows the last hyphen. The upstream part starts with a digit and holds
// letters, digits and . + - ~ : (a hyphen only with a revision, a colon only
// with an epoch); the revision is non-empty and holds letters, digits and
// . + ~. The epoch may have any number of digits.
//
//   tolva::debian::compare(*tolva::debian::read("1.2.3-1"),
//                          *tolva::debian::read("1.2.3")) > 0
namespace tolva::scheme::detail {
namespace {

using P = grammar::ExpectedPattern;

// Views into the text read; each is empty when absent.
struct Parts {
  std::string_view epoch;
  std::string_view upstream;
  std::string_view revision;
};

constexpr std::string_view token_colon = "':'";
constexpr std::string_view upstream_char = "alphanumeric or one of . + - : ~";
constexpr std::string_view revision_char = "alphanumeric or one of . + ~";
using key_bytes::is_digit;
using key_bytes::is_letter;

// What each byte may be part of, by table: a byte is looked at twice a line.
enum : std::uint8_t { upstream_byte = 1, revision_byte = 2 };
constexpr std::array<std::uint8_t, 256> byte_classes = [] {
  std::array<std::uint8_t, 256> t{};
  for (int c = 0; c < 256; ++c) {
    const char b = static_cast<char>(c);
    if (is_digit(b) || is_letter(b) || b == '.' || b == '+' || b == '~') {
      t[static_cast<std::size_t>(c)] = upstream_byte | revision_byte;
    }
  }
  t['-'] = t[':'] = upstream_byte;
  return t;
}();
bool in_upstream(char c) noexcept {
  return (byte_classes[static_cast<unsigned char>(c)] & upstream_byte) != 0;
}
bool in_revision(char c) noexcept {
  return (byte_classes[static_cast<unsigned char>(c)] & revision_byte) != 0;
}

std::unexpected<ParseError> fail(std::string_view text, std::size_t at,
                                 std::initializer_list<P> expected) {
  return std::unexpected(grammar::failure_at(text, at, expected));
}

// The order of a byte of a non-digit run: '~', the end of the run, letters,
// then everything else.
int weight(char c) noexcept {
  if (c == '~') return -1;
  if (is_letter(c)) return static_cast<unsigned char>(c);
  return static_cast<unsigned char>(c) + 256;
}

// dpkg's comparison of an upstream part or a revision.
std::strong_ordering compare_part(std::string_view a, std::string_view b) noexcept {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() || j < b.size()) {
    while ((i < a.size() && !is_digit(a[i])) || (j < b.size() && !is_digit(b[j]))) {
      const int x = i < a.size() && !is_digit(a[i]) ? weight(a[i]) : 0;
      const int y = j < b.size() && !is_digit(b[j]) ? weight(b[j]) : 0;
      if (x != y) return x <=> y;
      ++i;
      ++j;
    }
    const std::size_t a_start = i;
    const std::size_t b_start = j;
    while (i < a.size() && is_digit(a[i])) ++i;
    while (j < b.size() && is_digit(b[j])) ++j;
    const auto c =
        key_bytes::compare_numbers(a.substr(a_start, i - a_start), b.substr(b_start, j - b_start));
    if (c != 0) return c;
  }
  return std::strong_ordering::equal;
}

// The key's byte for a byte of a non-digit run: '~' 0x01, below the end of
// the run; letters as they are; every other byte above them all.
constexpr std::array<std::uint8_t, 256> run_bytes = [] {
  std::array<std::uint8_t, 256> t{};
  for (int c = 0; c < 256; ++c) {
    t[static_cast<std::size_t>(c)] =
        static_cast<std::uint8_t>(is_letter(static_cast<char>(c)) ? c : 0x80 | c);
  }
  t['~'] = 0x01;
  return t;
}();

// The end of a run and the number after it, in one byte for a number below
// 62 (0x02 plus its value), else 0x40 and the number: above '~', below
// letters.
constexpr std::uint8_t run_end = 0x02;
constexpr unsigned small_after_run = 0x40 - run_end;
constexpr std::uint8_t large_after_run = 0x40;

void put_run_end(key_bytes::Room& key, std::string_view digits) noexcept {
  digits = key_bytes::significant_digits(digits);
  if (digits.size() <= 2) {
    unsigned n = 0;
    for (char c : digits) n = n * 10 + static_cast<unsigned>(c - '0');
    if (n < small_after_run) return key.put(static_cast<std::uint8_t>(run_end + n));
  }
  key.put(large_after_run);
  key_bytes::put_number(key, digits);
}

// Pairs of a non-digit run and a number, the first pair always written (its
// run may be empty), then the end, which sorts as the empty run and zero
// that pad the shorter part: above a run starting with '~', below any other
// run. An upstream part starts with a digit, so its first run, always empty,
// is left out and its number written alone. At most 3 bytes for each 2 of
// the part, and 4.
//
// Each byte of a run is checked against the byte classes `allowed` as it is
// written, so that a text is read and keyed in one pass: the result is the
// place of the first byte not allowed, npos, or `stopped` once `stop()`, asked
// after each number, tells that the rest of the key is not wanted.
constexpr std::size_t stopped = std::string_view::npos - 1;
template <class Stop>
std::size_t put_part(key_bytes::Room& key, std::string_view s, bool upstream, std::uint8_t allowed,
                     Stop stop) noexcept {
  const char* p = s.data();
  const char* const end = p + s.size();
  do {
    for (; p != end && !is_digit(*p); ++p) {
      const auto c = static_cast<unsigned char>(*p);
      if ((byte_classes[c] & allowed) == 0) return static_cast<std::size_t>(p - s.data());
      key.put(run_bytes[c]);
    }
    const char* digits = p;
    unsigned n = 0;  // the number's value, while it has at most two digits
    for (; p != end && is_digit(*p); ++p) n = n * 10 + static_cast<unsigned>(*p - '0');
    const bool first = digits == s.data() && upstream;
    const std::string_view number(digits, static_cast<std::size_t>(p - digits));
    if (number.size() > 2 && first) {
      key_bytes::put_number(key, number);
    } else if (number.size() > 2) {
      put_run_end(key, number);
    } else if (first) {
      key.put(static_cast<std::uint8_t>(n));
    } else if (n < small_after_run) {
      key.put(static_cast<std::uint8_t>(run_end + n));
    } else {
      key.put(large_after_run);
      key.put(static_cast<std::uint8_t>(n));
    }
    if (stop()) return stopped;
  } while (p != end);
  key.put(run_end);
  return std::string_view::npos;
}

// The epoch (empty when absent) and where the upstream part starts, or the
// error of an epoch that does not read.
std::expected<std::size_t, ParseError> read_epoch(std::string_view text, std::string_view& epoch) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return 0;
  if (colon == 0) return fail(text, 0, {P::Digit});
  for (std::size_t i = 0; i < colon; ++i)
    if (!is_digit(text[i])) return fail(text, i, {P::Digit, token_colon});
  epoch = text.substr(0, colon);
  return colon + 1;
}

// Where the upstream part ends: at the last hyphen, if one follows `start`.
std::size_t upstream_end(std::string_view text, std::size_t start) noexcept {
  const std::size_t hyphen = text.rfind('-');
  return hyphen == std::string_view::npos || hyphen < start ? text.size() : hyphen;
}

std::expected<Parts, ParseError> read(std::string_view text) {
  Parts parts;
  auto start = read_epoch(text, parts.epoch);
  if (!start) return std::unexpected(std::move(start.error()));
  const std::size_t end = upstream_end(text, *start);
  if (*start == text.size() || !is_digit(text[*start])) return fail(text, *start, {P::Digit});
  for (std::size_t i = *start; i < end; ++i) {
    if (!in_upstream(text[i])) return fail(text, i, {upstream_char});
  }
  parts.upstream = text.substr(*start, end - *start);
  if (end < text.size()) {
    if (end + 1 == text.size()) return fail(text, end + 1, {revision_char});
    for (std::size_t i = end + 1; i < text.size(); ++i) {
      if (!in_revision(text[i])) return fail(text, i, {revision_char, P::TokenHyphen});
    }
    parts.revision = text.substr(end + 1);
  }
  return parts;
}

std::weak_ordering compare(const Parts& a, const Parts& b) noexcept {
  if (auto c = key_bytes::compare_numbers(a.epoch, b.epoch); c != 0) return c;
  if (auto c = compare_part(a.upstream, b.upstream); c != 0) return c;
  return compare_part(a.revision, b.revision);
}

// The epoch's number, and each part's (see put_part).
std::size_t key_size_bound(std::size_t size, const Order&) noexcept { return 24 + 3 * size / 2; }

// The key: the epoch as a number, then the upstream part and the revision,
// each as pairs of a non-digit run (mapped bytes) and the run's end with the
// number after it (the upstream part's first run, always empty, is left
// out), then 0x02. Written as the text is read; nullopt when `bar` stopped it.
std::expected<std::optional<KeyFacts>, ParseError> key_until(std::string& out,
                                                             std::string_view text,
                                                             const key_bytes::Bar* bar) {
  std::string_view epoch;
  auto start = read_epoch(text, epoch);
  if (!start) return std::unexpected(std::move(start.error()));
  if (*start == text.size() || !is_digit(text[*start])) return fail(text, *start, {P::Digit});
  const std::size_t end = upstream_end(text, *start);
  const std::size_t old = out.size();
  std::size_t bad = std::string_view::npos;
  std::size_t at = 0;  // where the part holding `bad` starts
  key_bytes::append_key(out, key_size_bound(text.size(), {}), [&](key_bytes::Room& key) {
    const char* const first = key.at();
    const auto stop = [&] { return bar != nullptr && bar->missed_by(key.since(first)); };
    key_bytes::put_number(key, epoch);
    at = *start;
    if (stop()) {
      bad = stopped;
      return;
    }
    bad = put_part(key, text.substr(*start, end - *start), true, upstream_byte, stop);
    if (bad != std::string_view::npos || end + 1 == text.size()) return;
    at = std::min(end + 1, text.size());
    bad = put_part(key, text.substr(at), false, revision_byte, stop);
  });
  if (bad == std::string_view::npos && end + 1 != text.size()) return KeyFacts{};
  out.resize(old);
  if (bad == stopped) {
    if (auto v = read(text); !v) return std::unexpected(std::move(v.error()));
    return std::nullopt;
  }
  if (at == *start && bad != std::string_view::npos) return fail(text, at + bad, {upstream_char});
  if (end + 1 == text.size()) return fail(text, end + 1, {revision_char});
  return fail(text, at + bad, {revision_char, P::TokenHyphen});
}

Keyed debian_key(std::string& out, std::string_view text, const Order&) {
  auto made = key_until(out, text, nullptr);
  if (!made) return std::unexpected(std::move(made.error()));
  return **made;
}

std::expected<std::optional<KeyFacts>, ParseError> debian_key_past(std::string& out,
                                                                   std::string_view text,
                                                                   const Order&,
                                                                   key_bytes::Bar bar) {
  return key_until(out, text, &bar);
}

std::expected<std::vector<Field>, ParseError> debian_fields(std::string_view text, const Order&) {
  auto v = read(text);
  if (!v) return std::unexpected(std::move(v.error()));
  return std::vector<Field>{number_field("epoch", v->epoch), text_field("upstream", v->upstream),
                            v->revision.empty() ? Field{"revision", Field::Form::absent, {}, {}}
                                                : text_field("revision", v->revision)};
}

// dpkg's relations; '<' and '>' are refused, since dpkg reads them as the
// obsolete spellings of <= and >=.
using RO = grammar::RangeOperator;
constexpr std::array<RO, 6> operators{RO::much_less, RO::less_equal,    RO::equal,
                                      RO::not_equal, RO::greater_equal, RO::much_greater};

Read debian_range(grammar::RangeText& in, const Order& order, KeyRange& out) {
  return comparators_range(in, order, {operators, true}, out);
}

}  // namespace

constinit const Row debian_row = row_of<read, compare>(
    Scheme::debian, debian_key, key_size_bound, debian_fields, debian_range, debian_key_past);

}  // namespace tolva::scheme::detail
