#include "clean_text.hpp"

#include <cstdint>

#include "text/properties.hpp"
#include "text/quoted.hpp"
#include "text/utf8.hpp"

namespace tolva::log {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// True for bytes written as they are without further looking.
constexpr bool plain_ascii(std::uint8_t b) noexcept { return (b >= 0x20 && b < 0x7F) || b == '\t'; }

// Characters a row never carries raw: controls (C0 other than tab, DEL, C1),
// which a terminal obeys, and format characters such as the
// bidirectional overrides and zero-width joiners, which make the row read as
// something other than what it holds.
bool is_hidden(char32_t c) noexcept {
  return (text::is_control(c) && c != U'\n' && c != U'\t') || text::is_format(c);
}

}  // namespace

void append_clean(std::string& out, std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t run = pos;
    while (run < text.size() && plain_ascii(static_cast<std::uint8_t>(text[run]))) ++run;
    out.append(text, pos, run - pos);
    pos = run;
    if (pos == text.size()) break;

    const text::Decoded d = text::decode_utf8(text, pos);
    if (!d.well_formed)
      out += kReplacement;
    else if (d.code_point == '\n')
      // A raw one would start a row of its own, which a recorded text could
      // make look like the start of another block.
      out += "\\n";
    else if (is_hidden(d.code_point))
      append_unicode_escape(out, d.code_point);
    else
      out.append(text, pos, d.length);
    pos += d.length;
  }
}

bool is_clean(std::string_view text) noexcept {
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto lead = static_cast<std::uint8_t>(text[pos]);
    if (plain_ascii(lead)) {
      ++pos;
      continue;
    }
    const text::Decoded d = text::decode_utf8(text, pos);
    if (!d.well_formed || is_hidden(d.code_point)) return false;
    pos += d.length;
  }
  return true;
}

void append_quoted_text(std::string& out, std::string_view text) {
  if (text::is_valid_utf8(text)) {
    append_quoted(out, text);
    return;
  }
  std::string repaired;
  repaired.reserve(text.size() + 8);
  std::size_t pos = 0;
  while (pos < text.size()) {
    const text::Decoded d = text::decode_utf8(text, pos);
    if (d.well_formed)
      repaired.append(text, pos, d.length);
    else
      repaired += kReplacement;
    pos += d.length;
  }
  append_quoted(out, repaired);
}

}  // namespace tolva::log
