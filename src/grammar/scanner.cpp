#include "scanner.hpp"

#include <utility>

#include "split_parts.hpp"
#include "text/properties.hpp"
#include "text/utf8.hpp"

namespace tolva::grammar::detail {

FailureRecord Scanner::begin_labelled() noexcept { return std::exchange(record_, {}); }

void Scanner::end_labelled(FailureRecord& enclosing, std::size_t start,
                           ExpectedPattern label) noexcept {
  record_.relabel_if_at(start, label);
  enclosing.merge(record_);
  record_ = enclosing;
}

std::size_t Scanner::part_end(std::size_t from) noexcept {
  std::size_t end = from;
  while (end < text_.size() && has_class(text_[end], kPartChar)) ++end;
  record_.record(end, ExpectedPattern::PartChar);
  return end;
}

JoinedParts Scanner::measure_list() noexcept {
  const std::size_t start = pos_;
  FailureRecord enclosing = begin_labelled();
  // Only where the list ends and how many parts it has: the parts are taken
  // once the whole text is known to match, and only if a value is asked for.
  std::size_t count = 0;
  std::size_t end = part_end(pos_);
  if (end != pos_) {
    count = 1;
    pos_ = end;
    while (true) {
      if (!at_byte('.')) {
        record_.record(pos_, ExpectedPattern::TokenDot);
        break;
      }
      end = part_end(pos_ + 1);
      // No part after the '.': it is left for whatever follows the list.
      if (end == pos_ + 1) break;
      ++count;
      pos_ = end;
    }
  }
  end_labelled(enclosing, start, ExpectedPattern::DotList);
  return {text_.substr(start, pos_ - start), count};
}

std::optional<TextList> Scanner::dot_list() {
  const std::size_t start = pos_;
  const JoinedParts list = measure_list();
  if (!end_of_input()) {
    pos_ = start;
    return std::nullopt;
  }
  if (build_ == Build::nothing) return TextList{};
  return split_parts(list);
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
