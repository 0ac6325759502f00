#include "shown_name.hpp"

namespace tolva::cli {
namespace {

// The length of the valid UTF-8 sequence that starts `s`, or 0: no overlong
// forms, no surrogates, nothing above U+10FFFF.
std::size_t valid_sequence(std::string_view s) noexcept {
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
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
  if (s.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

}  // namespace

std::string shown_name(std::string_view name) {
  std::string shown;
  shown.reserve(name.size());
  while (!name.empty()) {
    std::size_t length = valid_sequence(name);
    if (length == 0) {
      shown.append("\xEF\xBF\xBD");
      length = 1;
    } else {
      shown.append(name.substr(0, length));
    }
    name.remove_prefix(length);
  }
  return shown;
}

}  // namespace tolva::cli
