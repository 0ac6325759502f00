#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "epoch_release.hpp"
#include "row.hpp"
#include "values/key_bytes.hpp"

// RPM's versions, [epoch:]version[-release], in RPM's order: the epoch, then
// the version and the release each by rpmvercmp, a version without a release
// before the same version with any.
namespace tolva::scheme::detail {
namespace {

namespace kb = key_bytes;
using grammar::ExpectedPattern;

constexpr std::string_view shown_field_char = "alphanumeric or one of . _ + ~ ^";
constexpr std::string_view shown_after_dot = "alphanumeric or one of _ + ~ ^";
constexpr std::string_view shown_small_epoch = "epoch of at most 4294967295";
constexpr ExpectedPattern field_char{shown_field_char};
constexpr ExpectedPattern after_dot{shown_after_dot};
constexpr ExpectedPattern small_epoch{shown_small_epoch};

constexpr bool is_letter(char c) noexcept {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// What rpmbuild lets a Version or Release tag hold, but "..".
std::expected<void, ParseError> check_field(std::string_view text, std::size_t start,
                                            std::size_t end) {
  if (start == end) return std::unexpected(grammar::failure_at(text, start, {field_char}));
  for (std::size_t i = start; i < end; ++i) {
    const char c = text[i];
    if (!kb::is_digit(c) && !is_letter(c) && c != '.' && c != '_' && c != '+' && c != '~' &&
        c != '^')
      return std::unexpected(grammar::failure_at(text, i, {field_char}));
    if (c == '.' && i > start && text[i - 1] == '.')
      return std::unexpected(grammar::failure_at(text, i, {after_dot}));
  }
  return {};
}

// The parts as RPM splits a text: the epoch before the first ':' when only
// digits stand before it, the release after the last '-'. rpmbuild keeps an
// epoch in 32 bits.
std::expected<EpochRelease, ParseError> read(std::string_view text) {
  EpochRelease parts;
  std::size_t start = 0;
  while (start < text.size() && kb::is_digit(text[start])) ++start;
  if (start > 0 && start < text.size() && text[start] == ':') {
    parts.epoch = text.substr(0, start++);
    if (kb::compare_numbers(parts.epoch, "4294967295") > 0)
      return std::unexpected(grammar::failure_at(text, 0, {small_epoch}));
  } else {
    start = 0;
  }
  const std::size_t hyphen = text.rfind('-');
  parts.has_release = hyphen != std::string_view::npos && hyphen >= start;
  const std::size_t end = parts.has_release ? hyphen : text.size();
  if (auto ok = check_field(text, start, end); !ok) return std::unexpected(ok.error());
  parts.version = text.substr(start, end - start);
  if (parts.has_release) {
    if (auto ok = check_field(text, end + 1, text.size()); !ok) return std::unexpected(ok.error());
    parts.release = text.substr(end + 1);
  }
  return parts;
}

// A version or a release as rpmvercmp meets it: separators write nothing;
// every other element is written in its order at a place: '~' (tilde_mark),
// the end (end_mark), '^' (caret_mark), a run of letters (a text and
// key_bytes::end: letters lie between the marks), a run of digits
// (number_mark and the number). Every byte writes at most two.
constexpr std::uint8_t tilde_mark = 0x03, end_mark = 0x04, caret_mark = 0x05, number_mark = 0x80;

template <class Sink>
void put_field(Sink& out, std::string_view f) {
  std::size_t i = 0;
  while (i < f.size()) {
    const char c = f[i];
    std::size_t run = i + 1;
    if (c == '~') {
      out.put(tilde_mark);
    } else if (c == '^') {
      out.put(caret_mark);
    } else if (kb::is_digit(c)) {
      while (run < f.size() && kb::is_digit(f[run])) ++run;
      out.put(number_mark);
      kb::put_number(out, f.substr(i, run - i));
    } else if (is_letter(c)) {
      while (run < f.size() && is_letter(f[run])) ++run;
      kb::put_text(out, f.substr(i, run - i));
      out.put(kb::end);
    }
    i = run;
  }
  out.put(end_mark);
}

constexpr auto put_part = [](auto& out, std::string_view f) { put_field(out, f); };

// rpmvercmp itself, which the key is held to.
std::weak_ordering vercmp(std::string_view a, std::string_view b) noexcept {
  const auto skipped = [](char c) {
    return !kb::is_digit(c) && !is_letter(c) && c != '~' && c != '^';
  };
  std::size_t i = 0, j = 0;
  for (;;) {
    while (i < a.size() && skipped(a[i])) ++i;
    while (j < b.size() && skipped(b[j])) ++j;
    const char x = i < a.size() ? a[i] : '\0', y = j < b.size() ? b[j] : '\0';
    if (x == '~' || y == '~') {
      if (x != y) return x == '~' ? std::weak_ordering::less : std::weak_ordering::greater;
    } else if (x == '^' || y == '^') {
      if (x == '\0' || y == '\0' || x != y)
        return x == '\0' || (x == '^' && y != '\0') ? std::weak_ordering::less
                                                    : std::weak_ordering::greater;
    } else if (x == '\0' || y == '\0') {
      return (x != '\0') <=> (y != '\0');
    } else if (kb::is_digit(x) != kb::is_digit(y)) {
      return kb::is_digit(x) ? std::weak_ordering::greater : std::weak_ordering::less;
    } else {
      const bool digits = kb::is_digit(x);
      const auto in_run = [&](char c) { return digits ? kb::is_digit(c) : is_letter(c); };
      std::size_t ei = i, ej = j;
      while (ei < a.size() && in_run(a[ei])) ++ei;
      while (ej < b.size() && in_run(b[ej])) ++ej;
      const auto c = digits ? kb::compare_numbers(a.substr(i, ei - i), b.substr(j, ej - j))
                            : a.substr(i, ei - i).compare(b.substr(j, ej - j)) <=> 0;
      if (c != 0) return c;
      i = ei;
      j = ej;
      continue;
    }
    ++i;
    ++j;
  }
}

std::expected<std::vector<Field>, ParseError> fields(std::string_view text, const Order&) {
  auto parts = read(text);
  if (!parts) return std::unexpected(parts.error());
  return epoch_release_fields(*parts);
}

constexpr std::array operators = {
    grammar::RangeOperator::less,    grammar::RangeOperator::less_equal,
    grammar::RangeOperator::equal,   grammar::RangeOperator::greater_equal,
    grammar::RangeOperator::greater, grammar::RangeOperator::not_equal,
};

Read read_range(grammar::RangeText& in, const Order&, KeyRange& out) {
  return epoch_release_range<read>(in, operators, true, put_part, out);
}

}  // namespace

constinit const Row rpm_row = row_of<read, compare_epoch_release<vercmp>>(
    Scheme::rpm, append_epoch_release_key<read, decltype(put_part)>, epoch_release_key_bound,
    fields, read_range);

}  // namespace tolva::scheme::detail
