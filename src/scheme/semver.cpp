#include "tolva/scheme/semver.hpp"

#include <algorithm>

#include "decimal_key.hpp"
#include "grammar/failure_record.hpp"

namespace tolva::semver {
namespace {

using P = grammar::ExpectedPattern;

// What makes digits an identifier.
constexpr std::string_view shown_letter_or_hyphen = "letter or '-'";
constexpr P letter_or_hyphen{shown_letter_or_hyphen};
using scheme::detail::is_digit;
using scheme::detail::is_letter;

bool is_identifier_char(char c) noexcept { return is_digit(c) || is_letter(c) || c == '-'; }
bool all_digits(std::string_view s) noexcept { return std::ranges::all_of(s, is_digit); }

constexpr char numeric_mark = 0x01;
constexpr char text_mark = 0x02;
constexpr char release_mark = 0x03;

class Reader {
 public:
  explicit Reader(std::string_view text) noexcept : text_(text) {}

  std::expected<Parts, grammar::ParseError> read() {
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
  void record(P p) noexcept { failures_.record(pos_, p); }
  std::unexpected<grammar::ParseError> failure() const {
    return std::unexpected(grammar::detail::to_parse_error(text_, failures_));
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
  grammar::detail::FailureRecord failures_;
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
  if (a_number && b_number) return scheme::detail::compare_decimal(a, b);
  if (a_number != b_number)
    return a_number ? std::strong_ordering::less : std::strong_ordering::greater;
  return a.compare(b) <=> 0;
}

}  // namespace

std::expected<Parts, grammar::ParseError> read(std::string_view text) {
  return Reader(text).read();
}

std::weak_ordering compare(const Parts& a, const Parts& b) noexcept {
  using scheme::detail::compare_decimal;
  if (auto c = compare_decimal(a.major, b.major); c != 0) return c;
  if (auto c = compare_decimal(a.minor, b.minor); c != 0) return c;
  if (auto c = compare_decimal(a.patch, b.patch); c != 0) return c;
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

void append_order_key(std::string& out, const Parts& v) {
  using scheme::detail::put_decimal;
  const std::size_t bound = scheme::detail::semver_key_bound(v.major.size() + v.minor.size() +
                                                             v.patch.size() + v.prerelease.size());
  scheme::detail::append_key(out, bound, [&](char* at) {
    at = put_decimal(put_decimal(put_decimal(at, v.major), v.minor), v.patch);
    if (v.prerelease.empty()) {
      *at++ = release_mark;
      return at;
    }
    Identifiers ids{v.prerelease};
    while (!ids.done) {
      const std::string_view id = ids.next();
      if (all_digits(id)) {
        *at++ = numeric_mark;
        at = put_decimal(at, id);
      } else {
        *at++ = text_mark;
        at = std::copy(id.begin(), id.end(), at);
      }
    }
    return at;
  });
}

}  // namespace tolva::semver
