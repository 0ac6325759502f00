#include <gtest/gtest.h>

#include <algorithm>
#include <compare>
#include <random>
#include <string>
#include <vector>

#include "make_values.hpp"
#include "tolva/values/order_key.hpp"
#include "tolva/values/part_order.hpp"

namespace tolva::testing {
namespace {

int sign(auto order) { return order < 0 ? -1 : (order > 0 ? 1 : 0); }

// Numbers at the digit edges, with leading zeros, past 64 bits and past the
// one-byte counts of the key (240 digits or zeros); the characters beside the
// digits ('/' and ':'); texts that start or end with digits; the empty part.
std::vector<std::string> parts() {
  // clang-format off
  std::vector<std::string> out = {
      "0", "00", "000", "1", "01", "001", "9", "09", "10", "010", "99", "100", "/", ":", "0/",
      "/0", "9:", ":9", "a", "0a", "a0", "-1", "", "18446744073709551616",
      "018446744073709551616", "99999999999999999999"};
  // clang-format on
  for (const std::string& more :
       {std::string(239, '0'), std::string(240, '0'), std::string(240, '0') + "1",
        "1" + std::string(299, '0'), "9" + std::string(239, '9')}) {
    out.push_back(more);
  }
  return out;
}

// The numeric part order written another way: numbers padded to one length
// compare as text.
int reference_part(const std::string& a, const std::string& b) {
  auto number = [](const std::string& s) {
    return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
  };
  if (number(a) != number(b)) return number(a) ? -1 : 1;
  if (number(a)) {
    const std::size_t n = std::max(a.size(), b.size());
    const int by_value =
        (std::string(n - a.size(), '0') + a).compare(std::string(n - b.size(), '0') + b);
    if (by_value != 0) return sign(by_value);
  }
  return sign(a.compare(b));
}

int reference_list(TextSpan a, TextSpan b) {
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    if (int order = reference_part(std::string(a[i].view()), std::string(b[i].view())))
      return order;
  }
  return sign(a.size() <=> b.size());
}

int reference(const Version& a, const Version& b) {
  if (a.kind() != b.kind()) return sign(a.kind() <=> b.kind());
  if (const auto* x = a.get_if<DotSeparated>())
    return reference_list(x->parts, b.get_if<DotSeparated>()->parts);
  if (const auto* x = a.get_if<Other>()) return sign(*x <=> *b.get_if<Other>());
  // Every generated SemVer is 1.0.0: only the rc tells them apart.
  const SemVer& x = *a.get_if<SemVer>();
  const SemVer& y = *b.get_if<SemVer>();
  if (x.rc() && y.rc()) return reference_list(*x.rc(), *y.rc());
  return sign(y.rc().has_value() <=> x.rc().has_value());
}

std::vector<Version> generated_values() {
  const std::vector<std::string> from = parts();
  std::vector<Version> values;
  for (const std::string& p : from) {
    values.push_back(version(DotSeparated{{p}}));
    values.push_back(version(DotSeparated{{p, "1"}}));
    values.push_back(version(semver(1, 0, 0, TextList{p}, TextList{p})));
    values.push_back(version(Other{p}));
  }
  values.push_back(version(semver(1, 0, 0)));
  values.push_back(version(semver(1, 0, 0, TextList{})));
  std::mt19937 random(7);
  for (int i = 0; i < 400; ++i) {
    TextList list(random() % 4);
    for (ShortText& part : list) part = from[random() % from.size()];
    values.push_back(i % 2 ? version(DotSeparated{list}) : version(semver(1, 0, 0, list)));
  }
  return values;
}

// The order, its key and the key's prefixes against the reference, on every
// pair.
TEST(NumericParts, order_and_key_agree_with_the_reference) {
  const std::vector<Version> values = generated_values();
  std::vector<std::string> keys;
  for (const Version& v : values) keys.push_back(order_key(v, PartOrder::numeric));
  for (std::size_t i = 0; i < values.size(); ++i) {
    for (std::size_t j = 0; j < values.size(); ++j) {
      const int expected = reference(values[i], values[j]);
      ASSERT_EQ(sign(compare(values[i], values[j], PartOrder::numeric)), expected) << i << " " << j;
      ASSERT_EQ(sign(keys[i] <=> keys[j]), expected) << i << " " << j;
    }
  }
  for (std::size_t n : {1, 4, 9, 16}) {
    std::vector<std::string> prefixes;  // the prefix, then 1 when the key goes on past it
    for (const Version& v : values) {
      std::string prefix(n, '\0');
      const bool whole = write_order_key_prefix({reinterpret_cast<std::uint8_t*>(prefix.data()), n},
                                                v, PartOrder::numeric);
      ASSERT_EQ(whole, order_key(v, PartOrder::numeric).size() <= n);
      prefixes.push_back(prefix + (whole ? '\0' : '\1'));
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
      for (std::size_t j = 0; j < values.size(); ++j) {
        const int by_prefix = sign(prefixes[i] <=> prefixes[j]);
        if (by_prefix != 0 || prefixes[i].back() == '\0') {
          ASSERT_EQ(by_prefix, reference(values[i], values[j])) << n << ": " << i << " " << j;
        }
      }
    }
  }
}

}  // namespace
}  // namespace tolva::testing
