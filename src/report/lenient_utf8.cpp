#include "lenient_utf8.hpp"

namespace tolva::report {

namespace {

struct LeadByte {
  std::uint8_t length;  // 0: not a lead byte
  std::uint8_t second_low;
  std::uint8_t second_high;
};

// The sequence length a lead byte announces and the range its second byte must
// lie in, which rules out overlong forms, surrogates and values past U+10FFFF.
LeadByte classify(std::uint8_t b) noexcept {
  if (b < 0x80) return {1, 0, 0};
  if (b < 0xC2) return {0, 0, 0};
  if (b < 0xE0) return {2, 0x80, 0xBF};
  if (b == 0xE0) return {3, 0xA0, 0xBF};
  if (b == 0xED) return {3, 0x80, 0x9F};
  if (b < 0xF0) return {3, 0x80, 0xBF};
  if (b == 0xF0) return {4, 0x90, 0xBF};
  if (b < 0xF4) return {4, 0x80, 0xBF};
  if (b == 0xF4) return {4, 0x80, 0x8F};
  return {0, 0, 0};
}

}  // namespace

LenientChar decode_lenient(std::string_view text, std::size_t pos) noexcept {
  constexpr LenientChar ill_formed{U'\uFFFD', 1, false};
  auto lead = static_cast<std::uint8_t>(text[pos]);
  LeadByte kind = classify(lead);
  if (kind.length == 0) return ill_formed;
  if (kind.length == 1) return {lead, 1, true};

  char32_t value = lead & (0xFFu >> (kind.length + 1));
  for (std::uint8_t i = 1; i < kind.length; ++i) {
    if (pos + i >= text.size()) return {U'\uFFFD', i, false};
    auto b = static_cast<std::uint8_t>(text[pos + i]);
    std::uint8_t low = i == 1 ? kind.second_low : 0x80;
    std::uint8_t high = i == 1 ? kind.second_high : 0xBF;
    if (b < low || b > high) return {U'\uFFFD', i, false};
    value = (value << 6) | (b & 0x3Fu);
  }
  return {value, kind.length, true};
}

std::optional<Utf8Fault> find_utf8_fault(std::string_view text) noexcept {
  for (std::size_t pos = 0; pos < text.size();) {
    LenientChar c = decode_lenient(text, pos);
    if (!c.well_formed) {
      bool truncated = pos + c.length >= text.size() &&
                       classify(static_cast<std::uint8_t>(text[pos])).length > c.length;
      return Utf8Fault{pos, truncated ? std::nullopt : std::optional<std::size_t>(c.length)};
    }
    pos += c.length;
  }
  return std::nullopt;
}

}  // namespace tolva::report
