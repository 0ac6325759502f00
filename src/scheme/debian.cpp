#include "tolva/scheme/debian.hpp"

#include <array>
#include <cstdint>

#include "decimal_key.hpp"
#include "grammar/failure_record.hpp"

namespace tolva::debian {
namespace {

using P = grammar::ExpectedPattern;

constexpr std::string_view shown_colon = "':'";
constexpr std::string_view shown_upstream = "alphanumeric or one of . + - : ~";
constexpr std::string_view shown_revision = "alphanumeric or one of . + ~";
constexpr P token_colon{shown_colon};
constexpr P upstream_char{shown_upstream};
constexpr P revision_char{shown_revision};
using scheme::detail::is_digit;
using scheme::detail::is_letter;

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

std::unexpected<grammar::ParseError> fail(std::string_view text, std::size_t at, P first,
                                          std::optional<P> second = std::nullopt) {
  grammar::detail::FailureRecord record;
  record.record(at, first);
  if (second) record.record(at, *second);
  return std::unexpected(grammar::detail::to_parse_error(text, record));
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
    const auto c = scheme::detail::compare_decimal(a.substr(a_start, i - a_start),
                                                   b.substr(b_start, j - b_start));
    if (c != 0) return c;
  }
  return std::strong_ordering::equal;
}

constexpr char run_end = 0x02;
// The key's byte for a byte of a non-digit run: '~' 0x01, below the end of
// the run (0x02); letters as they are; every other byte above them all.
constexpr std::array<char, 256> key_bytes = [] {
  std::array<char, 256> t{};
  for (int c = 0; c < 256; ++c) {
    const char b = static_cast<char>(c);
    t[static_cast<std::size_t>(c)] = is_letter(b) ? b : static_cast<char>(0x80 | c);
  }
  t['~'] = 0x01;
  return t;
}();

// Pairs of a non-digit run and a number, the first pair always written (its
// run may be empty), then the end, which sorts as the empty run that pads
// the shorter part: above a run starting with '~', below any other run. An
// upstream part starts with a digit, so its first run, always empty, is left
// out.
// At most twice the part's length and 11 bytes.
char* put_part(char* at, std::string_view s, bool upstream) noexcept {
  const char* p = s.data();
  const char* const end = p + s.size();
  do {
    for (; p != end && !is_digit(*p); ++p) *at++ = key_bytes[static_cast<unsigned char>(*p)];
    if (p != s.data() || !upstream) *at++ = run_end;
    const char* digits = p;
    while (p != end && is_digit(*p)) ++p;
    at = scheme::detail::put_decimal(at, {digits, static_cast<std::size_t>(p - digits)});
  } while (p != end);
  *at++ = run_end;
  return at;
}

}  // namespace

std::expected<Parts, grammar::ParseError> read(std::string_view text) {
  Parts parts;
  std::size_t start = 0;
  if (const std::size_t colon = text.find(':'); colon != std::string_view::npos) {
    if (colon == 0) return fail(text, 0, P::Digit);
    for (std::size_t i = 0; i < colon; ++i)
      if (!is_digit(text[i])) return fail(text, i, P::Digit, token_colon);
    parts.epoch = text.substr(0, colon);
    start = colon + 1;
  }
  const std::size_t hyphen = text.rfind('-');
  const std::size_t end = hyphen == std::string_view::npos || hyphen < start ? text.size() : hyphen;
  if (start == text.size() || !is_digit(text[start])) return fail(text, start, P::Digit);
  for (std::size_t i = start; i < end; ++i) {
    if (!in_upstream(text[i])) return fail(text, i, upstream_char);
  }
  parts.upstream = text.substr(start, end - start);
  if (end < text.size()) {
    if (end + 1 == text.size()) return fail(text, end + 1, revision_char);
    for (std::size_t i = end + 1; i < text.size(); ++i) {
      if (!in_revision(text[i])) return fail(text, i, revision_char, P::TokenHyphen);
    }
    parts.revision = text.substr(end + 1);
  }
  return parts;
}

std::weak_ordering compare(const Parts& a, const Parts& b) noexcept {
  if (auto c = scheme::detail::compare_decimal(a.epoch, b.epoch); c != 0) return c;
  if (auto c = compare_part(a.upstream, b.upstream); c != 0) return c;
  return compare_part(a.revision, b.revision);
}

void append_order_key(std::string& out, const Parts& v) {
  const std::size_t bound =
      scheme::detail::debian_key_bound(v.epoch.size() + v.upstream.size() + v.revision.size());
  scheme::detail::append_key(out, bound, [&](char* at) {
    at = scheme::detail::put_decimal(at, v.epoch);
    return put_part(put_part(at, v.upstream, true), v.revision, false);
  });
}

}  // namespace tolva::debian
