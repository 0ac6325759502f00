#include "quoted.hpp"

#include <charconv>
#include <cstddef>
#include <cstdint>

#include "unicode/properties.hpp"
#include "unicode/utf8.hpp"

namespace tolva {
namespace {

// Printable ASCII that stands for itself inside the quotes.
bool is_plain_ascii(unsigned char byte) noexcept {
  return byte >= 0x20 && byte < 0x7f && byte != '"' && byte != '\\';
}

// Appends `\u{hex}`: lowercase hexadecimal, no leading zeros.
void append_unicode_escape(std::string& out, char32_t c) {
  char buffer[8];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer,
                                 static_cast<std::uint32_t>(c), 16).ptr;
  out += "\\u{";
  out.append(buffer, end);
  out += '}';
}

// Appends `\xhh` for a byte that does not start a well-formed UTF-8 sequence.
// Such bytes only reach a value from C++ callers; Python texts are always
// well-formed, so this keeps the quoting safe and lossless for any bytes.
void append_byte_escape(std::string& out, unsigned char byte) {
  constexpr char digits[] = "0123456789abcdef";
  out += "\\x";
  out += digits[byte >> 4];
  out += digits[byte & 0x0f];
}

// Appends an ASCII byte that is not plain: a short escape where one exists,
// otherwise the `\u{..}` form (the remaining ones are all controls).
void append_ascii_escape(std::string& out, unsigned char byte) {
  switch (byte) {
    case '"': out += "\\\""; break;
    case '\\': out += "\\\\"; break;
    case '\n': out += "\\n"; break;
    case '\r': out += "\\r"; break;
    case '\t': out += "\\t"; break;
    case '\0': out += "\\0"; break;
    default: append_unicode_escape(out, byte); break;
  }
}

// Length of the UTF-8 sequence `lead` starts; 0 when no sequence starts so.
std::size_t sequence_length(unsigned char lead) noexcept {
  if (lead < 0x80) return 1;
  if (lead < 0xc2) return 0;
  if (lead < 0xe0) return 2;
  if (lead < 0xf0) return 3;
  if (lead < 0xf5) return 4;
  return 0;
}

}  // namespace

void append_quoted(std::string& out, std::string_view text) {
  out.reserve(out.size() + text.size() + 2);
  out += '"';
  std::size_t pos = 0;
  while (pos < text.size()) {
    // Most texts are plain ASCII: copy such runs whole.
    std::size_t run_end = pos;
    while (run_end < text.size() && is_plain_ascii(static_cast<unsigned char>(text[run_end])))
      ++run_end;
    out.append(text, pos, run_end - pos);
    pos = run_end;
    if (pos == text.size()) break;

    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
      append_ascii_escape(out, lead);
      ++pos;
      continue;
    }
    const std::size_t length = sequence_length(lead);
    if (length == 0 || length > text.size() - pos ||
        !unicode::is_valid_utf8(text.substr(pos, length))) {
      append_byte_escape(out, lead);
      ++pos;
      continue;
    }
    const char32_t c = unicode::decode_utf8(text, pos).code_point;
    if (unicode::is_grapheme_extend(c) || unicode::is_escaped_category(c))
      append_unicode_escape(out, c);
    else
      out.append(text, pos, length);
    pos += length;
  }
  out += '"';
}

}  // namespace tolva
