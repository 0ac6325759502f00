#include <gtest/gtest.h>

#include <array>
#include <compare>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "make_values.hpp"
#include "tolva/values/order_key.hpp"

namespace tolva::testing {
namespace {

using namespace std::string_literals;

// Every byte-count boundary of the number encoding and the 32-bit bound.
constexpr std::array<std::uint32_t, 13> numbers = {
    0, 1, 0xEF, 0xF0, 0xFF, 0x100, 0xFFFF, 0x10000, 0xFFFFFF, 0x1000000, 0xFFFFFFFE, 0xFFFFFFFF, 7};
// Empty, the escaped bytes and their neighbours, prefixes of each other, 0xFF.
const std::array<std::string, 12> texts = {""s,    "\0"s,   "\1"s, "\2"s,    "\3"s,   "a"s,
                                           "a\0"s, "a\0b"s, "ab"s, "a\xff"s, "\xff"s, "\xff\xff"s};

// Values at every edge, each alone and in a few small lists, then random mixes.
std::vector<Version> generated_values() {
  std::vector<Version> values;
  for (std::uint32_t n : numbers) {
    values.push_back(version(semver(n, 0, 0)));
    values.push_back(version(semver(0, n, 0)));
    values.push_back(version(semver(0, 0, n, TextList{})));
  }
  for (const std::string& t : texts) {
    values.push_back(version(semver(0, 0, 0, TextList{t})));
    values.push_back(version(DotSeparated{{t}}));
    values.push_back(version(DotSeparated{{t, t}}));
    values.push_back(version(Other{t}));
  }
  std::mt19937 random(18);
  auto pick = [&](const auto& from) { return from[random() % from.size()]; };
  auto list = [&] {
    TextList parts(random() % 4);
    for (ShortText& part : parts) part = pick(texts);
    return parts;
  };
  for (int i = 0; i < 300; ++i) {
    OptionalTextList rc = random() % 3 ? OptionalTextList(list()) : std::nullopt;
    OptionalTextList meta = random() % 2 ? OptionalTextList(list()) : std::nullopt;
    values.push_back(version(semver(random() % 2, random() % 2, 0, rc, meta)));
    values.push_back(version(DotSeparated{list()}));
  }
  return values;
}

int sign(auto order) { return order < 0 ? -1 : (order > 0 ? 1 : 0); }

TEST(OrderKey, orders_every_pair_as_the_values_do_and_prefixes_decide_or_say_so) {
  const std::vector<Version> values = generated_values();
  std::vector<std::string> keys;
  for (const Version& v : values) {
    keys.push_back(order_key(v));
    std::visit([&](const auto& held) { ASSERT_EQ(order_key(held), keys.back()); }, v.value);
  }
  for (std::size_t i = 0; i < values.size(); ++i) {
    for (std::size_t j = 0; j < values.size(); ++j) {
      ASSERT_EQ(sign(keys[i] <=> keys[j]), sign(values[i] <=> values[j])) << i << " " << j;
    }
  }
  for (std::size_t n : {1, 5, 6, 16}) {
    std::vector<std::string> prefixes;  // the prefix, then 1 when the key goes on past it
    for (const Version& v : values) {
      std::string prefix(n, '\0');
      const bool whole =
          write_order_key_prefix({reinterpret_cast<std::uint8_t*>(prefix.data()), n}, v);
      prefixes.push_back(prefix + (whole ? '\0' : '\1'));
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
      for (std::size_t j = 0; j < values.size(); ++j) {
        const int order = sign(values[i] <=> values[j]);
        const int by_prefix = sign(prefixes[i] <=> prefixes[j]);
        if (by_prefix != 0 || prefixes[i].back() == '\0') {
          ASSERT_EQ(by_prefix, order) << n << ": " << i << " " << j;
        }
      }
    }
  }
}

struct KeyCase {
  Version value;
  std::string key;
};

class OrderKeyBytes : public ::testing::TestWithParam<KeyCase> {};

// The encoding the guide's Python recipe also writes, byte for byte.
TEST_P(OrderKeyBytes, are_the_documented_encoding) {
  EXPECT_EQ(order_key(GetParam().value), GetParam().key);
}

INSTANTIATE_TEST_SUITE_P(
    Table, OrderKeyBytes,
    ::testing::Values(KeyCase{version(semver(1, 0xEF, 0xF0)), "\0\1\xef\xf1\xf0\xff"s},
                      KeyCase{version(semver(0x100, 0xFFFFFF, 0xFFFFFFFF, TextList{})),
                              "\0\xf2\1\0\xf3\xff\xff\xff\xf4\xff\xff\xff\xff"s},
                      KeyCase{version(semver(0, 0, 0, TextList{"", "rc"}, TextList{"x"})),
                              "\0\0\0\0\1\1rc"s},
                      KeyCase{version(DotSeparated{{"a\0"s, "\1\2\3"s}}), "\1\1a\2\0\1\2\1\2\2\3"s},
                      KeyCase{version(DotSeparated{}), "\1"s},
                      KeyCase{version(Other{"x_1"}), "\2x_1"s},
                      KeyCase{version(Other{"\xff"s}), "\2\xff"s}));

}  // namespace
}  // namespace tolva::testing
