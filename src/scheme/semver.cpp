#include "semver.hpp"

#include <algorithm>
#include <array>

namespace tolva::scheme::detail {
namespace semver {
namespace {

using P = grammar::ExpectedPattern;

// What makes digits an identifier.
constexpr std::string_view letter_or_hyphen = "letter or '-'";
using key_bytes::is_digit;
using key_bytes::is_letter;

bool is_identifier_char(char c) noexcept { return is_digit(c) || is_letter(c) || c == '-'; }
bool all_digits(std::string_view s) noexcept { return std::ranges::all_of(s, is_digit); }

constexpr std::uint8_t numeric_mark = 0x01;
constexpr std::uint8_t text_mark = 0x02;
constexpr std::uint8_t release_mark = 0x03;

class Reader {
 public:
  explicit Reader(std::string_view text) noexcept : text_(text) {}

  std::expected<Parts, ParseError> read() {
    Parts parts;
    if (!number(parts.major) || !dot(parts.major) || !number(parts.minor) || !dot(parts.minor) ||
        !number(parts.patch)) {
      return failure();
    }
    if (at('-')) {
      ++pos_;
      if (!identifiers(parts.prerelease, true)) return failure();
    }
    if (at('+')) {
      ++pos_;
      if (!identifiers(parts.build, false)) return failure();
    }
    if (pos_ == text_.size()) return parts;
    // What could have continued the text here.
    if (parts.build.empty()) {
      if (parts.prerelease.empty()) {
        if (parts.patch != "0") record(P::Digit);
        record(P::TokenHyphen);
      }
      record(P::TokenPlus);
    }
    record(P::EndOfInput);
    return failure();
  }

 private:
  bool at(char c) const noexcept { return pos_ < text_.size() && text_[pos_] == c; }
  // The furthest failure: where, and what could have stood there.
  void record(P p) noexcept {
    if (count_ == 0 || pos_ > at_) {
      at_ = pos_;
      count_ = 0;
    }
    if (pos_ == at_ && std::ranges::find(expected_.begin(), expected_.begin() + count_, p) ==
                           expected_.begin() + count_) {
      expected_[count_++] = p;
    }
  }
  std::unexpected<ParseError> failure() const {
    return std::unexpected(grammar::failure_at(text_, at_, {expected_.data(), count_}));
  }

  // "0" or digits that do not start with '0'.
  bool number(std::string_view& out) noexcept {
    const std::size_t start = pos_;
    if (pos_ == text_.size() || !is_digit(text_[pos_])) {
      record(P::Integer);
      return false;
    }
    if (text_[pos_++] != '0') {
      while (pos_ < text_.size() && is_digit(text_[pos_])) ++pos_;
    }
    out = text_.substr(start, pos_ - start);
    return true;
  }

  // The dot after `number`, where a number other than 0 could also go on.
  bool dot(std::string_view number) noexcept {
    if (at('.')) {
      ++pos_;
      return true;
    }
    if (number != "0") record(P::Digit);
    record(P::TokenDot);
    return false;
  }

  // Dot-separated identifiers; a numeric pre-release identifier has no
  // leading zero.
  bool identifiers(std::string_view& out, bool prerelease) noexcept {
    const std::size_t start = pos_;
    for (;;) {
      const std::size_t first = pos_;
      while (pos_ < text_.size() && is_identifier_char(text_[pos_])) ++pos_;
      const std::string_view id = text_.substr(first, pos_ - first);
      if (id.empty()) {
        record(P::Identifier);
        return false;
      }
      if (prerelease && id.size() > 1 && id[0] == '0' && all_digits(id)) {
        record(letter_or_hyphen);
        return false;
      }
      if (!at('.')) break;
      ++pos_;
    }
    out = text_.substr(start, pos_ - start);
    record(P::PartChar);
    record(P::TokenDot);
    return true;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t at_ = 0;
  std::array<P, 4> expected_{};
  std::size_t count_ = 0;
};

// The identifiers of a pre-release, one at a time.
struct Identifiers {
  std::string_view rest;
  bool done = false;
  std::string_view next() noexcept {
    const std::size_t dot = rest.find('.');
    const std::string_view id = rest.substr(0, dot);
    if (dot == std::string_view::npos) {
      done = true;
    } else {
      rest.remove_prefix(dot + 1);
    }
    return id;
  }
};

std::strong_ordering compare_identifier(std::string_view a, std::string_view b) noexcept {
  const bool a_number = all_digits(a);
  const bool b_number = all_digits(b);
  if (a_number && b_number) return key_bytes::compare_numbers(a, b);
  if (a_number != b_number)
    return a_number ? std::strong_ordering::less : std::strong_ordering::greater;
  return a.compare(b) <=> 0;
}

// A number or identifier takes at most 11 bytes more than its text.
std::size_t key_size_bound(std::size_t size, const Order&) noexcept { return 34 + 2 * size; }

}  // namespace

std::expected<Parts, ParseError> read(std::string_view text) { return Reader(text).read(); }

std::weak_ordering compare(const Parts& a, const Parts& b) noexcept {
  using key_bytes::compare_numbers;
  if (auto c = compare_numbers(a.major, b.major); c != 0) return c;
  if (auto c = compare_numbers(a.minor, b.minor); c != 0) return c;
  if (auto c = compare_numbers(a.patch, b.patch); c != 0) return c;
  if (a.prerelease.empty() || b.prerelease.empty()) {
    return a.prerelease.empty() <=> b.prerelease.empty();
  }
  Identifiers x{a.prerelease};
  Identifiers y{b.prerelease};
  while (!x.done && !y.done) {
    if (auto c = compare_identifier(x.next(), y.next()); c != 0) return c;
  }
  return y.done <=> x.done;
}

std::optional<KeyFacts> append_key(std::string& out, const Parts& v, const key_bytes::Bar* bar) {
  KeyFacts facts;
  bool missed = false;
  const std::size_t old = out.size();
  const std::size_t bound =
      key_size_bound(v.major.size() + v.minor.size() + v.patch.size() + v.prerelease.size(), {});
  key_bytes::append_key(out, bound, [&](key_bytes::Room& key) {
    char* const start = key.at();
    for (std::string_view number : {v.major, v.minor, v.patch}) {
      key_bytes::put_number(key, number);
      if (bar != nullptr && bar->missed_by(key.since(start))) {
        missed = true;
        return;
      }
    }
    if (v.prerelease.empty()) return key.put(release_mark);
    facts = {true, static_cast<std::uint32_t>(key.at() - start)};
    Identifiers ids{v.prerelease};
    while (!ids.done) {
      const std::string_view id = ids.next();
      if (all_digits(id)) {
        key.put(numeric_mark);
        key_bytes::put_number(key, id);
      } else {
        key.put(text_mark);
        key.put(id);
      }
    }
  });
  if (!missed) return facts;
  out.resize(old);
  return std::nullopt;
}

}  // namespace semver
namespace {

using semver::Parts;

Keyed semver_key(std::string& out, std::string_view text, const Order&) {
  auto v = semver::read(text);
  if (!v) return std::unexpected(std::move(v.error()));
  return *semver::append_key(out, *v);
}

std::expected<std::optional<KeyFacts>, ParseError> semver_key_past(std::string& out,
                                                                   std::string_view text,
                                                                   const Order&,
                                                                   key_bytes::Bar bar) {
  auto v = semver::read(text);
  if (!v) return std::unexpected(std::move(v.error()));
  return semver::append_key(out, *v, &bar);
}

std::expected<std::vector<Field>, ParseError> semver_fields(std::string_view text, const Order&) {
  auto v = semver::read(text);
  if (!v) return std::unexpected(std::move(v.error()));
  return std::vector<Field>{number_field("major", v->major), number_field("minor", v->minor),
                            number_field("patch", v->patch),
                            list_field("prerelease", v->prerelease, '.'),
                            list_field("build", v->build, '.')};
}

}  // namespace

const Row semver_row{
    .scheme = Scheme::semver,
    .names = names_of(Scheme::semver),
    .append_key = semver_key,
    .key_size_bound = semver::key_size_bound,
    .fields = semver_fields,
    .read_range = semver::read_range,
    .check = check_by_reading<semver::read>,
    .compare = compare_by_reading<semver::read, semver::compare>,
    .append_key_past = semver_key_past,
};

}  // namespace tolva::scheme::detail
