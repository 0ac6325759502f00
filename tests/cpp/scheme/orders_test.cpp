#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tolva/scheme/order.hpp"

namespace {

using tolva::Scheme;
namespace scheme = tolva::scheme;

// Versions in ascending order under a scheme; "=" between two marks them equal.
struct Chain {
  Scheme scheme;
  std::vector<std::string> items;
};

int sign(std::weak_ordering o) { return o < 0 ? -1 : o > 0 ? 1 : 0; }
int key_sign(const std::string& a, const std::string& b) { return sign(a.compare(b) <=> 0); }

class Orders : public testing::TestWithParam<Chain> {};

// Every pair of a chain, by compare() and by the order keys.
TEST_P(Orders, ChainHolds) {
  const Chain& c = GetParam();
  std::vector<std::string> texts;
  std::vector<int> level;
  for (const std::string& item : c.items) {
    if (item == "=") continue;
    level.push_back(texts.empty() ? 0 : level.back() + ((&item)[-1] == "=" ? 0 : 1));
    texts.push_back(item);
  }
  for (std::size_t i = 0; i < texts.size(); ++i) {
    for (std::size_t j = 0; j < texts.size(); ++j) {
      const int want = level[i] < level[j] ? -1 : level[i] > level[j] ? 1 : 0;
      auto order = scheme::compare(texts[i], texts[j], c.scheme);
      ASSERT_TRUE(order.has_value()) << texts[i] << " " << texts[j];
      EXPECT_EQ(sign(*order), want) << texts[i] << " vs " << texts[j];
      EXPECT_EQ(
          key_sign(*scheme::order_key(texts[i], c.scheme), *scheme::order_key(texts[j], c.scheme)),
          want)
          << "keys of " << texts[i] << " vs " << texts[j];
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Schemes, Orders,
    testing::Values(
        Chain{Scheme::natural,
              {"1.0alpha1", "1.0beta2", "1.0rc1", "1.0", "1.0patch1", "1.0.1", "1.0a", "1.1"}},
        Chain{Scheme::natural, {"1.0alpha-1", "=", "1.0a1", "=", "1.0alpha1", "=", "1.0A1", "1.0"}},
        Chain{Scheme::natural, {"1.0a1", "1.0a", "1.0a.1", "1.0b"}},
        Chain{Scheme::natural, {"a", "=", "alpha", "", "=", "0", "=", "0.0", "0.1"}},
        Chain{Scheme::natural, {"1.0.a", "1", "=", "1.0.0", "=", "v1.0", "=", "V1", "1.0.0.1"}},
        Chain{Scheme::natural, {"v.1", "1"}},
        // words that only begin like a keyword
        Chain{Scheme::natural,
              {"1.0alpha", "1.0prefix", "=", "1.0Pre", "1.0", "1.0post", "=", "1.0postfix", "=",
               "1.0PATCH", "1.0.1", "1.0alphax", "1.0patches"}},
        Chain{Scheme::natural, {"1.0.patches", "1.0p1", "1.0", "1.0patch1"}},
        Chain{Scheme::natural,
              {"1.18446744073709551615", "1.18446744073709551616", "=", "1.018446744073709551616",
               "1.99999999999999999999999", "2_0"}},
        Chain{Scheme::natural, {"1.0.p.1", "1.0", "1.0.5", "1.0p.1"}},
        Chain{Scheme::debian,
              {"1.0~~", "1.0~~a", "1.0~", "1.0~rc1", "1.0", "=", "1.0-0", "=", "0:1.0", "=",
               "00:1.0-00", "1.0a", "1.0+", "1.0.1", "1.01.1"}},
        Chain{Scheme::debian,
              {"1.2.3", "1.2.3-1", "=", "1.2.3-01", "1.2.3-1+deb12u1", "1.2.3-1.1", "1.2.3a", "9.9",
               "1:0.1", "18446744073709551615:1", "18446744073709551616:0.1"}},
        Chain{Scheme::debian,
              {"1.1~1", "1.1", "1.1a", "1.1b", "1.18446744073709551615", "1.18446744073709551616"}},
        Chain{Scheme::debian, {"1.0-1~bpo1", "1.0-1", "1.0-1a", "1.0-1.0", "1:1.0-0", "1:1.0+b"}},
        Chain{Scheme::semver,
              {"1.0.0-alpha", "1.0.0-alpha.1", "1.0.0-alpha.beta", "1.0.0-beta", "1.0.0-beta.2",
               "1.0.0-beta.11", "1.0.0-rc.1", "1.0.0", "=", "1.0.0+b.1", "1.0.1-0", "1.0.1"}},
        Chain{Scheme::semver,
              {"1.0.0-9", "1.0.0-18446744073709551616", "1.0.0-0a", "1.0.0-A", "1.0.0-a",
               "1.0.0-a-"}},
        // the bounds of the key's number forms: one byte below 200, a digit
        // count up to 54 digits, a counted count above
        Chain{Scheme::debian,
              {"1.99", "1.199", "1.200", "1.999", "1.1000", "1." + std::string(54, '9'),
               "1.1" + std::string(54, '0'), "1.2" + std::string(54, '0')}},
        Chain{Scheme::natural, {"199", "199.1", "200", "=", "0200.0", "201"}},
        // gem's words on either side of "pre", which '-' stands for, right
        // after a segment and after zeros
        Chain{Scheme::gem,
              {"1.Pre",      "1.a.pre",     "1.a.0.prd",   "1.a.0.pre", "=",      "1.a.0-0",
               "1.a.0.prea", "1.a.0.0.prd", "1.a.0.0.pre", "1.a",       "1.pr",   "1.prE",
               "1.prd",      "1.pre.a",     "1.pre.pre",   "=",         "1--",    "1.pre",
               "=",          "1-0",         "=",           "1.0.pre",   "1.prea", "1"}},
        Chain{Scheme::maven,
              {"1-alpha", "1-alpha-1", "=",          "1A1", "1-beta", "1-milestone", "1-rc",
               "=",       "1-CR",      "1-snapshot", "1",   "=",      "1.0",         "=",
               "1-ga",    "=",         "1.final",    "=",   "1-0",    "=",           "1-",
               "1-sp",    "1-a",       "1-abc",      "1-b", "1-0.1",  "1-1",         "1.0.1"}},
        Chain{Scheme::maven,
              {"1.999999999", "1.1000000000", "1.999999999999999999", "1.1000000000000000000", "=",
               "1.01000000000000000000", "1.18446744073709551616", "2"}},
        // where Maven's own comparison is cyclic, items by sign first
        Chain{Scheme::maven, {"1-alpha", "1.0.alpha.1", "1", "1.sp.1", "1-sp", "1.0.1"}},
        Chain{Scheme::semver,
              {"9.0.0", "10.0.0", "18446744073709551615.0.0", "18446744073709551616.0.0",
               "18446744073709551616.0.1"}}));

// The first item of each chain is the least; a chain "1.0a1 < 1.0a" above
// also pins the letter suffix. Refusals: where the report points and what it
// expects there.
struct Refusal {
  Scheme scheme;
  std::string text;
  std::size_t at;
  std::string expected;  // the display texts, joined by '|'
};

class Refusals : public testing::TestWithParam<Refusal> {};

TEST_P(Refusals, PointAtTheFault) {
  const Refusal& r = GetParam();
  auto read = scheme::check(r.text, r.scheme);
  ASSERT_FALSE(read.has_value()) << r.text;
  EXPECT_EQ(read.error().span.start, r.at) << r.text;
  std::string expected;
  for (auto p : read.error().expected) {
    if (!expected.empty()) expected += '|';
    expected += tolva::grammar::display_text(p);
  }
  EXPECT_EQ(expected, r.expected) << r.text;
  EXPECT_FALSE(scheme::order_key(r.text, r.scheme).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Schemes, Refusals,
    testing::Values(Refusal{Scheme::debian, "", 0, "digit"},
                    Refusal{Scheme::debian, "a1.0", 0, "digit"},
                    Refusal{Scheme::debian, ":1.0", 0, "digit"},
                    Refusal{Scheme::debian, "1a:1.0", 1, "digit|':'"},
                    Refusal{Scheme::debian, "1:", 2, "digit"},
                    Refusal{Scheme::debian, "1.0-", 4, "alphanumeric or one of . + ~"},
                    Refusal{Scheme::debian, "1.0_1-1", 3, "alphanumeric or one of . + - : ~"},
                    Refusal{Scheme::debian, "1.0-1:2", 1, "digit|':'"},
                    Refusal{Scheme::debian, "1:1.0-a_b", 7, "alphanumeric or one of . + ~|'-'"},
                    Refusal{Scheme::debian, "1.0 ", 3, "alphanumeric or one of . + - : ~"},
                    Refusal{Scheme::semver, "v1.0.0", 0, "integer"},
                    Refusal{Scheme::semver, "01.0.0", 1, "'.'"},
                    Refusal{Scheme::semver, "1.0", 3, "'.'"},
                    Refusal{Scheme::semver, "1.10", 4, "digit|'.'"},
                    Refusal{Scheme::semver, "1.0.0-", 6, "identifier"},
                    Refusal{Scheme::semver, "1.0.0-01", 8, "letter or '-'"},
                    Refusal{Scheme::semver, "1.0.0-a..b", 8, "identifier"},
                    Refusal{Scheme::semver, "1.0.0+", 6, "identifier"},
                    Refusal{Scheme::semver, "1.0.0+b_", 7, "alphanumeric or '-'|'.'|end of input"},
                    Refusal{Scheme::semver, "1.0.10_", 6, "digit|'-'|'+'|end of input"},
                    Refusal{Scheme::maven, "", 0, "version"},
                    Refusal{Scheme::maven, "1.0-\x7f", 4, "character other than a blank"},
                    Refusal{Scheme::maven, "1.0\t", 3, "character other than a blank"}));

// Keys within their bound where a text's items cost the most bytes: a
// qualifier and a number in turn, zeros between dots, sublists of nothing.
TEST(Schemes, MavenKeysWithinTheirBound) {
  for (const std::string unit : {"x1", "1x", "x.", "..", "-", "x200", "a1", "xyz.1"}) {
    std::string text = "1";
    for (int i = 0; i < 500; ++i) text += unit;
    text += '1';
    auto key = scheme::order_key(text, Scheme::maven);
    ASSERT_TRUE(key.has_value()) << unit;
    EXPECT_LE(key->size(), scheme::order_key_size_bound(text.size(), Scheme::maven)) << unit;
  }
}

// Every text of up to eight digits, letters, '-' and '.' keys within its
// bound, which some of them meet.
TEST(Schemes, GemKeysWithinTheirBound) {
  constexpr std::string_view bytes = "09a-.";
  std::vector<std::string> texts{""};
  std::size_t met = 0;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const std::string text = texts[i];
    if (text.size() < 8) {
      for (char c : bytes) texts.push_back(text + c);
    }
    const auto key = scheme::order_key(text, Scheme::gem);
    if (!key) continue;
    const std::size_t bound = scheme::order_key_size_bound(text.size(), Scheme::gem);
    EXPECT_LE(key->size(), bound) << text;
    met += key->size() == bound;
  }
  EXPECT_GT(met, 0u);
}

// Each row is named as the list of schemes names it.
TEST(Schemes, NamesRoundTrip) {
  for (auto [s, name] : scheme::named_schemes) {
    EXPECT_EQ(scheme::name(s), name);
    EXPECT_EQ(scheme::named(name), s);
  }
  EXPECT_FALSE(scheme::named("Debian").has_value());
}

}  // namespace
