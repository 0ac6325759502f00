#include "scanner.hpp"

#include <limits>
#include <utility>

#include "char_classes.hpp"
#include "tolva/unicode/properties.hpp"
#include "tolva/unicode/utf8.hpp"

namespace tolva::grammar::detail {

FailureRecord Scanner::begin_labelled() noexcept { return std::exchange(record_, {}); }

void Scanner::end_labelled(FailureRecord& enclosing, std::size_t start,
                           ExpectedPattern label) noexcept {
  record_.relabel_if_at(start, label);
  enclosing.merge(record_);
  record_ = enclosing;
}

bool Scanner::literal(char c, ExpectedPattern p) noexcept {
  if (at_byte(c)) {
    ++pos_;
    return true;
  }
  record_.record(pos_, p);
  return false;
}

bool Scanner::end_of_input() noexcept {
  if (pos_ == text_.size()) return true;
  record_.record(pos_, ExpectedPattern::EndOfInput);
  return false;
}

std::optional<std::uint32_t> Scanner::integer() noexcept {
  const std::size_t start = pos_;
  FailureRecord enclosing = begin_labelled();
  // Beyond the 32-bit range the value reads as 0 while the digits are still taken.
  constexpr std::uint64_t max = std::numeric_limits<std::uint32_t>::max();
  std::uint64_t value = 0;
  while (pos_ < text_.size() && has_class(text_[pos_], kDigit)) {
    if (value <= max) value = value * 10 + static_cast<unsigned>(text_[pos_] - '0');
    ++pos_;
  }
  record_.record(pos_, ExpectedPattern::Digit);
  end_labelled(enclosing, start, ExpectedPattern::Integer);
  if (pos_ == start) return std::nullopt;
  return value <= max ? static_cast<std::uint32_t>(value) : 0;
}

bool Scanner::numbers(SemVer& out) noexcept {
  const std::size_t start = pos_;
  std::uint32_t* const fields[] = {&out.major, &out.minor, &out.patch};
  for (std::size_t i = 0; i < 3; ++i) {
    if (i > 0 && !literal('.', ExpectedPattern::TokenDot)) {
      pos_ = start;
      return false;
    }
    const auto n = integer();
    if (!n) {
      pos_ = start;
      return false;
    }
    *fields[i] = *n;
  }
  return true;
}

std::optional<SemVer> Scanner::semver_text() {
  const std::size_t start = pos_;
  literal('v', ExpectedPattern::TokenV);
  SemVer v;
  if (!numbers(v)) {
    pos_ = start;
    return std::nullopt;
  }
  if (literal('-', ExpectedPattern::TokenHyphen)) v.rc = OptionalTextList(dot_list());
  if (literal('+', ExpectedPattern::TokenPlus)) v.meta = OptionalTextList(dot_list());
  return v;
}

std::size_t Scanner::part_end(std::size_t from) noexcept {
  std::size_t end = from;
  while (end < text_.size() && has_class(text_[end], kPartChar)) ++end;
  record_.record(end, ExpectedPattern::PartChar);
  return end;
}

TextList Scanner::dot_list() {
  const std::size_t start = pos_;
  FailureRecord enclosing = begin_labelled();
  TextList parts;
  std::size_t end = part_end(pos_);
  if (end != pos_) {
    parts.emplace_back(text_.substr(pos_, end - pos_));
    pos_ = end;
    while (true) {
      if (!at_byte('.')) {
        record_.record(pos_, ExpectedPattern::TokenDot);
        break;
      }
      end = part_end(pos_ + 1);
      // No part after the '.': it is left for whatever follows the list.
      if (end == pos_ + 1) break;
      parts.emplace_back(text_.substr(pos_ + 1, end - pos_ - 1));
      pos_ = end;
    }
  }
  end_labelled(enclosing, start, ExpectedPattern::DotList);
  return parts;
}

std::size_t Scanner::ident_char(std::size_t at, bool first) const noexcept {
  if (at >= text_.size()) return 0;
  const char byte = text_[at];
  if (is_ascii(byte)) return has_class(byte, first ? kIdentStart : kIdentContinue) ? 1 : 0;
  const unicode::Decoded d = unicode::decode_utf8(text_, at);
  const bool member =
      first ? unicode::is_xid_start(d.code_point) : unicode::is_xid_continue(d.code_point);
  return member ? d.length : 0;
}

std::optional<std::string_view> Scanner::identifier() noexcept {
  const std::size_t start = pos_;
  std::size_t len = ident_char(pos_, true);
  while (len != 0) {
    pos_ += len;
    len = ident_char(pos_, false);
  }
  record_.record(pos_, ExpectedPattern::Identifier);
  if (pos_ == start) return std::nullopt;
  return text_.substr(start, pos_ - start);
}

}  // namespace tolva::grammar::detail
