#include "clean_text.hpp"

#include <cstdint>

#include "values/quoted.hpp"

namespace tolva::log {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Length of the well-formed UTF-8 sequence at `pos`, or 0 with `*bad` set to
// the length of its maximal ill-formed prefix (at least 1).
std::size_t sequence_length(std::string_view text, std::size_t pos, std::size_t* bad) noexcept {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  const std::uint8_t lead = byte(pos);
  std::size_t length;
  std::uint8_t low = 0x80, high = 0xBF;  // range of the second byte
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    *bad = 1;
    return 0;
  }
  for (std::size_t k = 1; k < length; ++k) {
    if (pos + k >= text.size()) {
      *bad = k;
      return 0;
    }
    const std::uint8_t b = byte(pos + k);
    const bool fits = k == 1 ? (b >= low && b <= high) : (b >= 0x80 && b <= 0xBF);
    if (!fits) {
      *bad = k;
      return 0;
    }
  }
  return length;
}

// True for bytes written as they are without further looking.
constexpr bool plain_ascii(std::uint8_t b) noexcept {
  return (b >= 0x20 && b < 0x7F) || b == '\n' || b == '\t';
}

void append_escape(std::string& out, std::uint32_t code_point) {
  static constexpr char kHex[] = "0123456789abcdef";
  char digits[8];
  int n = 0;
  do {
    digits[n++] = kHex[code_point & 0xF];
    code_point >>= 4;
  } while (code_point != 0);
  out += "\\u{";
  while (n > 0) out += digits[--n];
  out += '}';
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

    const auto lead = static_cast<std::uint8_t>(text[pos]);
    if (lead < 0x80) {
      append_escape(out, lead);
      ++pos;
      continue;
    }
    std::size_t bad = 0;
    const std::size_t length = sequence_length(text, pos, &bad);
    if (length == 0) {
      out += kReplacement;
      pos += bad;
    } else if (lead == 0xC2 && static_cast<std::uint8_t>(text[pos + 1]) < 0xA0) {
      append_escape(out, static_cast<std::uint8_t>(text[pos + 1]));  // C1 control
      pos += length;
    } else {
      out.append(text, pos, length);
      pos += length;
    }
  }
}

bool is_well_formed_utf8(std::string_view text) noexcept {
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (static_cast<std::uint8_t>(text[pos]) < 0x80) {
      ++pos;
      continue;
    }
    std::size_t bad = 0;
    const std::size_t length = sequence_length(text, pos, &bad);
    if (length == 0) return false;
    pos += length;
  }
  return true;
}

bool is_clean(std::string_view text) noexcept {
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto lead = static_cast<std::uint8_t>(text[pos]);
    if (plain_ascii(lead)) {
      ++pos;
      continue;
    }
    std::size_t bad = 0;
    const std::size_t length = lead < 0x80 ? 0 : sequence_length(text, pos, &bad);
    if (length == 0) return false;
    if (lead == 0xC2 && static_cast<std::uint8_t>(text[pos + 1]) < 0xA0) return false;
    pos += length;
  }
  return true;
}

void append_quoted_text(std::string& out, std::string_view text) {
  if (is_well_formed_utf8(text)) {
    append_quoted(out, text);
    return;
  }
  std::string repaired;
  repaired.reserve(text.size() + 8);
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t bad = 0;
    const std::size_t length = sequence_length(text, pos, &bad);
    if (length == 0) {
      repaired += kReplacement;
      pos += bad;
    } else {
      repaired.append(text, pos, length);
      pos += length;
    }
  }
  append_quoted(out, repaired);
}

}  // namespace tolva::log
