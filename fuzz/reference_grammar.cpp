#include "reference_grammar.hpp"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "text/properties.hpp"
#include "text/utf8.hpp"

namespace tolva::fuzz::reference {
namespace {

using grammar::ExpectedPattern;
using grammar::ParseError;

// The furthest failure: where it lies and what was expected there.
struct Record {
  std::optional<std::size_t> at;
  std::vector<ExpectedPattern> expected;
  // Where a number worth more than 32 bits that starts at `at` ends.
  std::optional<std::size_t> number_end;

  bool lists(ExpectedPattern p) const {
    return std::find(expected.begin(), expected.end(), p) != expected.end();
  }

  void record(std::size_t pos, ExpectedPattern p) {
    if (!at || pos > *at) {
      at = pos;
      expected = {p};
      number_end.reset();
    } else if (pos == *at && !lists(p)) {
      expected.push_back(p);
    }
  }

  // Folds in the record of a finished labelled rule.
  void merge(const Record& inner) {
    if (!inner.at) return;
    if (!at || *inner.at > *at) {
      *this = inner;
      return;
    }
    if (*inner.at < *at) return;
    if (inner.number_end) number_end = inner.number_end;
    const bool inner_leads = inner.expected.size() > expected.size();
    std::vector<ExpectedPattern> merged = inner_leads ? inner.expected : expected;
    for (ExpectedPattern p : inner_leads ? expected : inner.expected)
      if (std::find(merged.begin(), merged.end(), p) == merged.end()) merged.push_back(p);
    expected = std::move(merged);
  }
};

bool is_ascii_letter(char32_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool is_digit(char32_t c) { return c >= '0' && c <= '9'; }
bool is_part_char(char32_t c) { return is_ascii_letter(c) || is_digit(c) || c == '-'; }
bool is_ident_start(char32_t c) {
  return c < 0x80 ? is_ascii_letter(c) || c == '_' : text::is_xid_start(c);
}
bool is_ident_continue(char32_t c) {
  return c < 0x80 ? is_ascii_letter(c) || is_digit(c) || c == '_' : text::is_xid_continue(c);
}

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  void restart() { pos_ = 0; }

  // One character of the class `member`; records `p` when there is none.
  std::optional<char32_t> one_char(bool (*member)(char32_t), ExpectedPattern p) {
    if (pos_ < text_.size()) {
      const text::Decoded d = text::decode_utf8(text_, pos_);
      if (member(d.code_point)) {
        pos_ += d.length;
        return d.code_point;
      }
    }
    record_.record(pos_, p);
    return std::nullopt;
  }

  bool literal(char c, ExpectedPattern p) {
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    record_.record(pos_, p);
    return false;
  }

  bool end_test() {
    if (pos_ == text_.size()) return true;
    record_.record(pos_, ExpectedPattern::EndOfInput);
    return false;
  }

  // Runs `rule` with a record of its own, relabelled when the rule failed
  // where it started, then merged into the enclosing record.
  template <class Rule>
  auto labelled(ExpectedPattern label, Rule rule) {
    Record enclosing = std::move(record_);
    record_ = {};
    const std::size_t start = pos_;
    auto result = rule();
    if (record_.at == start) record_.expected = {label};
    enclosing.merge(record_);
    record_ = std::move(enclosing);
    return result;
  }

  std::optional<std::string> part() {
    const std::size_t start = pos_;
    if (!one_char(is_part_char, ExpectedPattern::PartChar)) return std::nullopt;
    while (one_char(is_part_char, ExpectedPattern::PartChar)) {
    }
    return std::string(text_.substr(start, pos_ - start));
  }

  TextList dot_list() {
    return labelled(ExpectedPattern::DotList, [&] {
      TextList parts;
      auto first = part();
      if (!first) return parts;
      parts.push_back(std::move(*first));
      while (true) {
        const std::size_t dot = pos_;
        if (!literal('.', ExpectedPattern::TokenDot)) break;
        auto next = part();
        if (!next) {
          pos_ = dot;
          break;
        }
        parts.push_back(std::move(*next));
      }
      return parts;
    });
  }

  // Digits past the 32-bit range fail the rule where it started, with the
  // rule's label as the only expectation.
  std::optional<std::uint32_t> integer() {
    const std::size_t start = pos_;
    return labelled(ExpectedPattern::Integer, [&]() -> std::optional<std::uint32_t> {
      std::uint64_t value = 0;
      bool any = false;
      bool too_large = false;
      while (auto d = one_char(is_digit, ExpectedPattern::Digit)) {
        any = true;
        value = value * 10 + (*d - '0');
        if (value > UINT32_MAX) {
          too_large = true;
          value = UINT32_MAX + std::uint64_t{1};
        }
      }
      if (!any) return std::nullopt;
      if (too_large) {
        record_ = {};
        record_.record(start, ExpectedPattern::Integer);
        record_.number_end = pos_;
        pos_ = start;
        return std::nullopt;
      }
      return static_cast<std::uint32_t>(value);
    });
  }

  bool numbers(SemVer& out) {
    const std::size_t start = pos_;
    std::uint32_t* const fields[] = {&out.major, &out.minor, &out.patch};
    for (int i = 0; i < 3; ++i) {
      if (i > 0 && !literal('.', ExpectedPattern::TokenDot)) {
        pos_ = start;
        return false;
      }
      const std::optional<std::uint32_t> n = integer();
      if (!n) {
        pos_ = start;
        return false;
      }
      *fields[i] = *n;
    }
    return true;
  }

  std::optional<SemVer> semver_text() {
    const std::size_t start = pos_;
    literal('v', ExpectedPattern::TokenV);
    SemVer v;
    if (!numbers(v)) {
      pos_ = start;
      return std::nullopt;
    }
    if (literal('-', ExpectedPattern::TokenHyphen)) v.set_rc(dot_list());
    if (literal('+', ExpectedPattern::TokenPlus)) v.set_meta(dot_list());
    return v;
  }

  std::optional<std::string> identifier() {
    const std::size_t start = pos_;
    if (!one_char(is_ident_start, ExpectedPattern::Identifier)) return std::nullopt;
    while (one_char(is_ident_continue, ExpectedPattern::Identifier)) {
    }
    return std::string(text_.substr(start, pos_ - start));
  }

  ParseError error() const {
    ParseError e;
    const std::size_t at = record_.at.value_or(0);
    e.span = {at, at};
    if (record_.number_end) {
      e.found = static_cast<char32_t>(text_[at]);
      e.span.end = *record_.number_end;
      e.found_kind = grammar::FoundKind::NumberTooLarge;
    } else if (at < text_.size()) {
      const text::Decoded d = text::decode_utf8(text_, at);
      e.found = d.code_point;
      e.span.end = at + d.length;
      if (!d.well_formed) e.found_kind = grammar::FoundKind::IllFormedUtf8;
    }
    e.expected.assign(record_.expected.begin(), record_.expected.end());
    return e;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  Record record_;
};

}  // namespace

std::expected<Version, ParseError> read_version(std::string_view text) {
  Parser p(text);
  if (auto v = p.semver_text(); v && p.end_test()) return Version{std::move(*v)};
  p.restart();
  if (auto parts = p.dot_list(); p.end_test()) return Version{DotSeparated{std::move(parts)}};
  p.restart();
  if (auto id = p.identifier(); id && p.end_test()) return Version{Other{std::move(*id)}};
  return std::unexpected(p.error());
}

std::expected<SemVer, ParseError> read_semver(std::string_view text) {
  Parser p(text);
  if (auto v = p.semver_text(); v && p.end_test()) return std::move(*v);
  return std::unexpected(p.error());
}

std::expected<DotSeparated, ParseError> read_dot_separated(std::string_view text) {
  Parser p(text);
  if (auto parts = p.dot_list(); p.end_test()) return DotSeparated{std::move(parts)};
  return std::unexpected(p.error());
}

std::expected<Other, ParseError> read_other(std::string_view text) {
  Parser p(text);
  if (auto id = p.identifier(); id && p.end_test()) return Other{std::move(*id)};
  return std::unexpected(p.error());
}

}  // namespace tolva::fuzz::reference
