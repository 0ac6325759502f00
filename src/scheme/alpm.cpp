#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "epoch_release.hpp"
#include "row.hpp"
#include "values/key_bytes.hpp"

// Arch Linux's pacman versions, [epoch:]pkgver[-pkgrel], in pacman's order
// (alpm_pkg_vercmp): the epoch, then the pkgver and the pkgrel each by
// pacman's own rpmvercmp, a pkgver without a pkgrel before the same pkgver
// with any (pacman calls them equal, which ranges keep).
namespace tolva::scheme::detail {
namespace {

namespace kb = key_bytes;
using grammar::ExpectedPattern;

constexpr std::string_view shown_pkgver_char = "letter, digit or punctuation but : / -";
constexpr std::string_view shown_alnum = "letter or digit";
constexpr std::string_view shown_dot = "'.'";
constexpr ExpectedPattern pkgver_char{shown_pkgver_char};
constexpr ExpectedPattern alnum{shown_alnum};
constexpr ExpectedPattern dot{shown_dot};

constexpr bool is_letter(char c) noexcept {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
constexpr bool is_alnum(char c) noexcept { return kb::is_digit(c) || is_letter(c); }

std::unexpected<ParseError> fail(std::string_view text, std::size_t at,
                                 std::initializer_list<ExpectedPattern> expected) {
  return std::unexpected(grammar::failure_at(text, at, expected));
}

// The parts as pacman splits a text (the epoch before a ':' that only digits
// precede, the pkgrel after the last '-'), each as makepkg checks it: a
// pkgver of printable ASCII but blanks, ':', '/' and '-', a pkgrel of
// integer[.integer]. A pkgver that ends in anything but a letter or digit
// is refused too: pacman orders those in circles (1.0 < 01..Z < 1.-2 < 1.0).
std::expected<EpochRelease, ParseError> read(std::string_view text) {
  EpochRelease parts;
  std::size_t start = 0;
  while (start < text.size() && kb::is_digit(text[start])) ++start;
  if (start < text.size() && text[start] == ':') {
    parts.epoch = text.substr(0, start++);
  } else {
    start = 0;
  }
  const std::size_t hyphen = text.rfind('-');
  parts.has_release = hyphen != std::string_view::npos && hyphen >= start;
  const std::size_t end = parts.has_release ? hyphen : text.size();
  for (std::size_t i = start; i < end; ++i) {
    const char c = text[i];
    if (c <= ' ' || c >= 0x7F || c == ':' || c == '/' || c == '-')
      return fail(text, i, {pkgver_char});
  }
  if (start == end) return fail(text, end, {pkgver_char});
  if (!is_alnum(text[end - 1])) return fail(text, end, {alnum});
  parts.version = text.substr(start, end - start);
  if (!parts.has_release) return parts;
  std::size_t i = end + 1;
  for (bool first = true;; first = false) {
    const std::size_t digits = i;
    while (i < text.size() && kb::is_digit(text[i])) ++i;
    if (i == digits) return fail(text, i, {ExpectedPattern::Digit});
    if (i == text.size()) break;
    if (!first || text[i] != '.')
      return first ? fail(text, i, {ExpectedPattern::Digit, dot, ExpectedPattern::EndOfInput})
                   : fail(text, i, {ExpectedPattern::Digit, ExpectedPattern::EndOfInput});
    ++i;
  }
  parts.release = text.substr(end + 1);
  return parts;
}

// A pkgver or pkgrel as pacman's rpmvercmp meets it: runs of separators
// (anything but ASCII letters and digits), each with the run of letters or
// of digits after it. pacman compares the separators' count first, then a
// run of digits above one of letters, and the end of a part above letters
// that follow digits directly but below anything else. So, in their order
// at a place: letters after no separator (a text and key_bytes::end, its
// letters below every mark), end_mark, then for s separators (s = 0, 1, ...)
// letters (after_separators(s) and the text) and digits (after_separators(s)
// + 1 and the number); from long_run separators on, long_mark, their count,
// and 0 for letters or 1 for digits.
constexpr std::uint8_t end_mark = 0x80, long_mark = 0xFE;
constexpr std::size_t long_run = 63;

template <class Sink>
void put_field(Sink& out, std::string_view f) {
  std::size_t i = 0;
  while (i < f.size()) {
    const std::size_t separators = i;
    while (!is_alnum(f[i])) ++i;  // a part ends in a letter or a digit
    const std::size_t count = i - separators;
    const std::size_t run = i;
    const bool digits = kb::is_digit(f[i]);
    while (i < f.size() && is_alnum(f[i]) && kb::is_digit(f[i]) == digits) ++i;
    if (count >= long_run) {
      out.put(long_mark);
      kb::put_count(out, count);
      out.put(digits ? 1 : 0);
    } else if (count > 0 || digits) {
      out.put(static_cast<std::uint8_t>(end_mark + 2 * count + (digits ? 1 : 0)));
    }
    if (digits) {
      kb::put_number(out, f.substr(run, i - run));
    } else {
      kb::put_text(out, f.substr(run, i - run));
      out.put(kb::end);
    }
  }
  out.put(end_mark);
}

constexpr auto put_part = [](auto& out, std::string_view f) { put_field(out, f); };

// pacman's own rpmvercmp, which the key is held to.
std::weak_ordering vercmp(std::string_view a, std::string_view b) noexcept {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const std::size_t si = i, sj = j;
    while (i < a.size() && !is_alnum(a[i])) ++i;
    while (j < b.size() && !is_alnum(b[j])) ++j;
    if (i == a.size() || j == b.size()) break;
    if (i - si != j - sj) return i - si <=> j - sj;
    const bool digits = kb::is_digit(a[i]);
    if (digits != kb::is_digit(b[j]))
      return digits ? std::weak_ordering::greater : std::weak_ordering::less;
    const auto in_run = [&](char c) { return is_alnum(c) && kb::is_digit(c) == digits; };
    const std::size_t ri = i, rj = j;
    while (i < a.size() && in_run(a[i])) ++i;
    while (j < b.size() && in_run(b[j])) ++j;
    const auto c = digits ? kb::compare_numbers(a.substr(ri, i - ri), b.substr(rj, j - rj))
                          : a.substr(ri, i - ri).compare(b.substr(rj, j - rj)) <=> 0;
    if (c != 0) return c;
  }
  if (i == a.size() && j == b.size()) return std::weak_ordering::equivalent;
  // What is left over: a part that ended is newer than letters only.
  const bool a_letter = i < a.size() && is_letter(a[i]);
  const bool b_letter = j < b.size() && is_letter(b[j]);
  return (i == a.size() && !b_letter) || a_letter ? std::weak_ordering::less
                                                  : std::weak_ordering::greater;
}

std::expected<std::vector<Field>, ParseError> fields(std::string_view text, const Order&) {
  auto parts = read(text);
  if (!parts) return std::unexpected(parts.error());
  return epoch_release_fields(*parts);
}

constexpr std::array operators = {
    grammar::RangeOperator::less,    grammar::RangeOperator::less_equal,
    grammar::RangeOperator::equal,   grammar::RangeOperator::greater_equal,
    grammar::RangeOperator::greater,
};

// No commas: a pkgver may hold one.
Read read_range(grammar::RangeText& in, const Order&, KeyRange& out) {
  return epoch_release_range<read>(in, operators, false, put_part, out);
}

}  // namespace

constinit const Row alpm_row = row_of<read, compare_epoch_release<vercmp>>(
    Scheme::alpm, append_epoch_release_key<read, decltype(put_part)>, epoch_release_key_bound,
    fields, read_range);

}  // namespace tolva::scheme::detail
