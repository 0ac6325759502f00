#include "utf8.hpp"

#include <cassert>
#include <cstring>

namespace tolva::unicode {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

constexpr std::uint8_t byte_at(std::string_view text, std::size_t i) noexcept {
  return static_cast<std::uint8_t>(text[i]);
}

constexpr bool is_continuation(std::uint8_t b) noexcept { return (b & 0xC0) == 0x80; }

// Index of the first byte at or after `i` that is not ASCII, or text.size().
std::size_t skip_ascii(std::string_view text, std::size_t i) noexcept {
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  while (i + 8 <= text.size()) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + i, sizeof word);
    if (word & kHighBits) break;
    i += 8;
  }
  while (i < text.size() && byte_at(text, i) < 0x80) ++i;
  return i;
}

// Length of the well-formed sequence that starts at `i` (a non-ASCII lead
// byte), or 0 when it is malformed: a stray continuation byte, an overlong
// form, a surrogate, a value past U+10FFFF or a truncated sequence.
std::size_t sequence_length(std::string_view text, std::size_t i) noexcept {
  const std::uint8_t lead = byte_at(text, i);
  std::size_t length;
  // Bounds of the second byte; they exclude overlongs, surrogates and values
  // past U+10FFFF, so the remaining bytes need only be continuation bytes.
  std::uint8_t low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() - i < length) return 0;
  const std::uint8_t second = byte_at(text, i + 1);
  if (second < low || second > high) return 0;
  for (std::size_t k = 2; k < length; ++k) {
    if (!is_continuation(byte_at(text, i + k))) return 0;
  }
  return length;
}

}  // namespace

Decoded decode_utf8(std::string_view text, std::size_t pos) noexcept {
  assert(pos < text.size());
  const char32_t b0 = byte_at(text, pos);
  if (b0 < 0x80) return {b0, 1};
  const char32_t b1 = byte_at(text, pos + 1) & 0x3F;
  if (b0 < 0xE0) return {((b0 & 0x1F) << 6) | b1, 2};
  const char32_t b2 = byte_at(text, pos + 2) & 0x3F;
  if (b0 < 0xF0) return {((b0 & 0x0F) << 12) | (b1 << 6) | b2, 3};
  const char32_t b3 = byte_at(text, pos + 3) & 0x3F;
  return {((b0 & 0x07) << 18) | (b1 << 12) | (b2 << 6) | b3, 4};
}

bool is_valid_utf8(std::string_view text) noexcept {
  std::size_t i = skip_ascii(text, 0);
  while (i < text.size()) {
    const std::size_t length = sequence_length(text, i);
    if (length == 0) return false;
    i = skip_ascii(text, i + length);
  }
  return true;
}

// Surrogates and values past U+10FFFF have no UTF-8 form; they are written
// as U+FFFD so that the output stays valid UTF-8.
void append_utf8(std::string& out, char32_t c) {
  if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = kReplacement;
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    const char bytes[] = {static_cast<char>(0xC0 | (c >> 6)),
                          static_cast<char>(0x80 | (c & 0x3F))};
    out.append(bytes, sizeof bytes);
  } else if (c < 0x10000) {
    const char bytes[] = {static_cast<char>(0xE0 | (c >> 12)),
                          static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                          static_cast<char>(0x80 | (c & 0x3F))};
    out.append(bytes, sizeof bytes);
  } else {
    const char bytes[] = {static_cast<char>(0xF0 | (c >> 18)),
                          static_cast<char>(0x80 | ((c >> 12) & 0x3F)),
                          static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                          static_cast<char>(0x80 | (c & 0x3F))};
    out.append(bytes, sizeof bytes);
  }
}

}  // namespace tolva::unicode
