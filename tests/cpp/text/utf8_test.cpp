#include "text/utf8.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace tolva::text {
namespace {

using namespace std::string_view_literals;

struct Utf8Case {
  const char* name;
  std::string_view bytes;
  bool valid;
};

class Utf8Validation : public testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Validation, accepts_only_well_formed_text) {
  EXPECT_EQ(is_valid_utf8(GetParam().bytes), GetParam().valid);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    utf8, Utf8Validation,
    testing::Values(
        Utf8Case{"empty", ""sv, true},
        Utf8Case{"ascii", "1.2.3-rc.1"sv, true},
        Utf8Case{"nul", "a\0b"sv, true},
        Utf8Case{"two_bytes", "\xC3\xA9"sv, true},
        Utf8Case{"three_bytes", "\xE4\xB8\xAD"sv, true},
        Utf8Case{"four_bytes", "\xF0\x9F\x98\x80"sv, true},
        Utf8Case{"last_two_byte", "\xDF\xBF"sv, true},
        Utf8Case{"first_three_byte", "\xE0\xA0\x80"sv, true},
        Utf8Case{"before_surrogates", "\xED\x9F\xBF"sv, true},
        Utf8Case{"after_surrogates", "\xEE\x80\x80"sv, true},
        Utf8Case{"first_four_byte", "\xF0\x90\x80\x80"sv, true},
        Utf8Case{"last_code_point", "\xF4\x8F\xBF\xBF"sv, true},
        Utf8Case{"long_ascii_then_multibyte", "abcdefghijklmnop\xC3\xA9xyz"sv, true},
        Utf8Case{"stray_continuation", "\x80"sv, false},
        Utf8Case{"overlong_nul", "\xC0\x80"sv, false},
        Utf8Case{"overlong_two_byte", "\xC1\xBF"sv, false},
        Utf8Case{"overlong_three_byte", "\xE0\x9F\xBF"sv, false},
        Utf8Case{"overlong_four_byte", "\xF0\x8F\xBF\xBF"sv, false},
        Utf8Case{"first_surrogate", "\xED\xA0\x80"sv, false},
        Utf8Case{"last_surrogate", "\xED\xBF\xBF"sv, false},
        Utf8Case{"past_last_code_point", "\xF4\x90\x80\x80"sv, false},
        Utf8Case{"lead_f5", "\xF5\x80\x80\x80"sv, false},
        Utf8Case{"byte_ff", "\xFF"sv, false},
        Utf8Case{"truncated_two_byte", "a\xC3"sv, false},
        Utf8Case{"truncated_three_byte", "\xE4\xB8"sv, false},
        Utf8Case{"truncated_four_byte", "\xF0\x9F\x98"sv, false},
        // The bytes after the view's end complete the character; they must
        // not be read.
        Utf8Case{"truncated_by_view_end", "\xE4\xB8\xAD"sv.substr(0, 2), false},
        Utf8Case{"ascii_in_place_of_continuation", "\xE4\x41\xAD"sv, false},
        Utf8Case{"bad_last_continuation", "\xF0\x9F\x98\x41"sv, false},
        Utf8Case{"fault_after_ascii_words", "abcdefghijklmnop\x80"sv, false},
        Utf8Case{"truncated_after_ascii_words", "abcdefgh\xE4\xB8"sv, false}),
    [](const testing::TestParamInfo<Utf8Case>& info) { return std::string(info.param.name); });
// clang-format on

// Decodes by the definition of UTF-8, independently of the code under test:
// the lead byte gives the length, the code point must be a scalar value and
// must need exactly that many bytes.
bool reference_valid(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto lead = static_cast<unsigned char>(s[i]);
    std::size_t length = lead < 0x80                   ? 1
                         : lead >= 0xF0 && lead < 0xF8 ? 4
                         : lead >= 0xE0 && lead < 0xF0 ? 3
                         : lead >= 0xC0 && lead < 0xE0 ? 2
                                                       : 0;
    if (length == 0 || i + length > s.size()) return false;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      const auto b = static_cast<unsigned char>(s[i + k]);
      if ((b & 0xC0) != 0x80) return false;
      c = (c << 6) | (b & 0x3F);
    }
    const std::size_t needed = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    if (needed != length || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

TEST(utf8, validation_agrees_with_the_definition_on_every_three_byte_text) {
  std::string s(3, '\0');
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; ++b) {
      for (int c = 0; c < 256; ++c) {
        s[0] = static_cast<char>(a), s[1] = static_cast<char>(b), s[2] = static_cast<char>(c);
        ASSERT_EQ(is_valid_utf8(s), reference_valid(s)) << a << ' ' << b << ' ' << c;
        // The same bytes behind a full ASCII word exercise the fast path.
        const std::string shifted = "12345678" + s;
        ASSERT_EQ(is_valid_utf8(shifted), reference_valid(s)) << a << ' ' << b << ' ' << c;
      }
    }
  }
}

TEST(utf8, validation_agrees_with_the_definition_on_four_byte_texts) {
  const unsigned char tails[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0xBF, 0xC0, 0xFF};
  std::string s(4, '\0');
  for (int lead = 0xE0; lead < 0x100; ++lead) {
    for (int second = 0; second < 256; ++second) {
      for (unsigned char third : tails) {
        for (unsigned char fourth : tails) {
          s[0] = static_cast<char>(lead), s[1] = static_cast<char>(second);
          s[2] = static_cast<char>(third), s[3] = static_cast<char>(fourth);
          ASSERT_EQ(is_valid_utf8(s), reference_valid(s)) << lead << ' ' << second;
        }
      }
    }
  }
}

TEST(utf8, every_scalar_value_round_trips) {
  std::string out;
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    out.clear();
    append_utf8(out, c);
    ASSERT_TRUE(is_valid_utf8(out)) << std::hex << static_cast<std::uint32_t>(c);
    const Decoded d = decode_utf8(out, 0);
    ASSERT_EQ(d.code_point, c);
    ASSERT_EQ(d.length, out.size()) << std::hex << static_cast<std::uint32_t>(c);
  }
}

TEST(utf8, decode_reads_each_character_in_turn) {
  const std::string_view text = "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80"sv;
  const char32_t expected[] = {'a', 0xE9, 0x4E2D, 0x1F600};
  std::size_t pos = 0;
  for (char32_t c : expected) {
    const Decoded d = decode_utf8(text, pos);
    EXPECT_EQ(d.code_point, c);
    pos += d.length;
  }
  EXPECT_EQ(pos, text.size());
}

// A character with no UTF-8 form must not leave invalid bytes behind.
TEST(utf8, append_writes_replacement_for_non_scalar_values) {
  for (char32_t c :
       {char32_t{0xD800}, char32_t{0xDFFF}, char32_t{0x110000}, char32_t{0xFFFFFFFF}}) {
    std::string out = "x";
    append_utf8(out, c);
    EXPECT_EQ(out, "x\xEF\xBF\xBD") << std::hex << static_cast<std::uint32_t>(c);
  }
}

}  // namespace
}  // namespace tolva::text
