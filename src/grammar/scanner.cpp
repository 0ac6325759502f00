#include "scanner.hpp"

#include "text/properties.hpp"
#include "text/utf8.hpp"

namespace tolva::grammar::detail {

template <class Recorder>
std::size_t Scanner<Recorder>::ident_char(std::size_t at, bool first) const noexcept {
  if (at >= text_.size()) return 0;
  const char byte = text_[at];
  if (is_ascii(byte)) return has_class(byte, first ? kIdentStart : kIdentContinue) ? 1 : 0;
  const text::Decoded d = text::decode_utf8(text_, at);
  const bool member =
      first ? text::is_xid_start(d.code_point) : text::is_xid_continue(d.code_point);
  return member ? d.length : 0;
}

template <class Recorder>
std::optional<std::string_view> Scanner<Recorder>::identifier() noexcept {
  const std::size_t start = pos_;
  std::size_t len = ident_char(pos_, true);
  while (len != 0) {
    pos_ += len;
    len = ident_char(pos_, false);
  }
  record_.record(pos_, ExpectedPattern::Identifier);
  if (pos_ == start) return std::nullopt;
  return taken_since(start);
}

template class Scanner<NoRecord>;
template class Scanner<FailureRecord>;

}  // namespace tolva::grammar::detail
