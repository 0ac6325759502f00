#include "utf8.hpp"

#include <cstring>

namespace tolva::text {
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

// The range the second byte of a sequence must lie in; it rules out overlong
// forms, surrogates and values past U+10FFFF, so later bytes need only be
// continuation bytes.
struct SecondByte {
  std::uint8_t low = 0x80;
  std::uint8_t high = 0xBF;
};

constexpr SecondByte second_byte_range(std::uint8_t lead) noexcept {
  switch (lead) {
    case 0xE0: return {0xA0, 0xBF};
    case 0xED: return {0x80, 0x9F};
    case 0xF0: return {0x90, 0xBF};
    case 0xF4: return {0x80, 0x8F};
    default: return {};
  }
}

}  // namespace

std::size_t announced_length(std::uint8_t lead) noexcept {
  if (lead < 0x80) return 1;
  if (lead < 0xC2) return 0;
  if (lead < 0xE0) return 2;
  if (lead < 0xF0) return 3;
  if (lead < 0xF5) return 4;
  return 0;
}

Decoded decode_utf8(std::string_view text, std::size_t pos) noexcept {
  const std::uint8_t lead = byte_at(text, pos);
  const std::size_t length = announced_length(lead);
  if (length == 1) return {lead, 1, true};
  if (length == 0) return {kReplacement, 1, false};
  const SecondByte second = second_byte_range(lead);
  char32_t value = lead & (0xFFu >> (length + 1));
  for (std::size_t k = 1; k < length; ++k) {
    const auto taken = static_cast<std::uint8_t>(k);
    if (pos + k >= text.size()) return {kReplacement, taken, false};
    const std::uint8_t b = byte_at(text, pos + k);
    const bool fits = k == 1 ? b >= second.low && b <= second.high : is_continuation(b);
    if (!fits) return {kReplacement, taken, false};
    value = (value << 6) | (b & 0x3Fu);
  }
  return {value, static_cast<std::uint8_t>(length), true};
}

bool is_valid_utf8(std::string_view text) noexcept {
  std::size_t i = skip_ascii(text, 0);
  while (i < text.size()) {
    const Decoded d = decode_utf8(text, i);
    if (!d.well_formed) return false;
    i = skip_ascii(text, i + d.length);
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
    const char bytes[] = {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
    out.append(bytes, sizeof bytes);
  } else if (c < 0x10000) {
    const char bytes[] = {static_cast<char>(0xE0 | (c >> 12)),
                          static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                          static_cast<char>(0x80 | (c & 0x3F))};
    out.append(bytes, sizeof bytes);
  } else {
    const char bytes[] = {
        static_cast<char>(0xF0 | (c >> 18)), static_cast<char>(0x80 | ((c >> 12) & 0x3F)),
        static_cast<char>(0x80 | ((c >> 6) & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
    out.append(bytes, sizeof bytes);
  }
}

}  // namespace tolva::text
