#include "quoted.hpp"

#include <cstdint>

#include "hex.hpp"
#include "properties.hpp"
#include "utf8.hpp"

namespace tolva {
namespace {

// Printable ASCII that stands for itself inside the quotes.
bool is_plain_ascii(unsigned char byte) noexcept {
  return byte >= 0x20 && byte < 0x7f && byte != '"' && byte != '\\';
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

}  // namespace

void append_unicode_escape(std::string& out, char32_t c) {
  out += "\\u{";
  append_hex(out, static_cast<std::uint32_t>(c));
  out += '}';
}

void append_byte_escape(std::string& out, char byte) {
  out += "\\x";
  append_hex(out, static_cast<unsigned char>(byte), 2);
}

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
    // A byte that starts no well-formed sequence only reaches a value from C++
    // callers (Python texts are always well-formed); \xhh keeps the quoting
    // safe and lossless for any bytes.
    const text::Decoded d = text::decode_utf8(text, pos);
    if (!d.well_formed) {
      append_byte_escape(out, text[pos]);
      ++pos;
      continue;
    }
    if (text::is_grapheme_extend(d.code_point) || text::is_escaped_category(d.code_point))
      append_unicode_escape(out, d.code_point);
    else
      out.append(text, pos, d.length);
    pos += d.length;
  }
  out += '"';
}

}  // namespace tolva
