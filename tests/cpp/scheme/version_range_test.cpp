#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

#include "tolva/scheme/version_range.hpp"

namespace {

using tolva::Scheme;
using tolva::VersionRange;

// Random ranges of one type, written in vers, and the versions to test them
// with: every operand they may name, and pre-releases between them.
struct Grid {
  std::string type;
  std::vector<std::string> operands;
  std::vector<std::string> versions;
};

std::vector<Grid> grids() {
  Grid npm{"npm", {}, {}};
  for (const char* r : {"0.0.0", "0.1.0", "1.0.0", "1.0.1", "1.2.0", "2.0.0"}) {
    npm.operands.push_back(r);
    npm.operands.push_back(std::string(r) + "-beta");
  }
  for (const char* r : {"0.0.0", "0.0.5", "0.1.0", "0.5.0", "1.0.0", "1.0.1", "1.1.0", "1.2.0",
                        "1.5.0", "2.0.0", "3.0.0"}) {
    npm.versions.push_back(r);
    for (const char* p : {"-0", "-alpha", "-beta", "-beta.1", "-rc"})
      npm.versions.push_back(std::string(r) + p);
  }
  Grid deb{"deb", {"0", "1.0~rc1", "1.0", "1:0.9", "1:1.0-1", "2.0+dfsg"}, {}};
  deb.versions = deb.operands;
  for (const char* v :
       {"0~", "0.5", "1.0~rc1-1", "1.0-0", "1.0.1", "1:0.9~a", "1:1.0", "3.0", "1:9"})
    deb.versions.push_back(v);
  // Neighbours, with no version between them, make intervals of keys that
  // hold no version: npm's 1.0.0 and 1.0.1 (for releases), semver's 1.0.0 and
  // 1.0.1-0, intdot's 1 and 1.0, lexicographic's a and a NUL.
  Grid semver{"semver", {"1.0.0-rc", "1.0.0-rc.0", "1.0.0", "1.0.1-0"}, {}};
  semver.versions = semver.operands;
  for (const char* v : {"0.0.0-0", "1.0.0-a", "1.0.0-rc.0.0", "1.0.1"})
    semver.versions.push_back(v);
  Grid intdot{"intdot", {"0", "1", "1.0", "1.10", "2"}, {}};
  intdot.versions = intdot.operands;
  for (const char* v : {"0.5", "1.0", "1.1", "1.0.0", "1.9", "1.11", "2.0", "10"})
    intdot.versions.push_back(v);
  Grid lex{"lexicographic",
           {"a", "a%00", "ab", "B", "ba"},
           {"", "a", std::string("a\0", 2), std::string("a\0\0", 3), "aa", "ab", "abc", "a0", "b",
            "B", "ba", "b0", "c", "Z"}};
  return {npm, semver, deb, intdot, lex};
}

// A random valid vers range: ends that alternate, points outside intervals,
// holes inside them, or "*".
std::string random_range(const Grid& g, std::mt19937& rng) {
  if (rng() % 12 == 0) return "vers:" + g.type + "/*";
  std::vector<std::string> ops = {"=", "!=", "<", "<=", ">", ">="};
  std::string text = "vers:" + g.type + "/";
  for (int i = 0, n = 1 + static_cast<int>(rng() % 3); i < n; ++i) {
    if (i > 0) text += '|';
    // One draw after the other: the order of a + b's operands is the
    // compiler's, and clang's would give other ranges than g++'s.
    const std::string& operand = g.operands[rng() % g.operands.size()];
    text += ops[rng() % ops.size()] + operand;
  }
  return text;
}

std::string named(const VersionRange& r) { return tolva::write_vers(r).value_or("(unsayable)"); }

class Sets : public testing::TestWithParam<Grid> {};

// Union, intersection and complement hold exactly the versions their parts
// say; subset holds exactly when no version of the grid is in A but not in B;
// a range written and read back is itself, and so is its native text's range.
TEST_P(Sets, AgreeWithContains) {
  const Grid& g = GetParam();
  std::mt19937 rng(35);
  int checked = 0;
  for (int round = 0; round < 1000; ++round) {
    auto a = tolva::read_vers(random_range(g, rng));
    auto b = tolva::read_vers(random_range(g, rng));
    if (!a || !b) continue;  // ends that do not alternate, or one version twice
    ++checked;
    auto both = a->intersection(*b);
    auto either = a->union_with(*b);
    const VersionRange neither = a->complement();
    ASSERT_TRUE(both && either);
    bool within = true, meet = false;
    for (const std::string& v : g.versions) {
      const bool in_a = *a->contains(v), in_b = *b->contains(v);
      EXPECT_EQ(*both->contains(v), in_a && in_b) << v;
      EXPECT_EQ(*either->contains(v), in_a || in_b) << v;
      EXPECT_EQ(*neither.contains(v), !in_a) << v;
      within &= !in_a || in_b;
      meet |= in_a && in_b;
    }
    EXPECT_EQ(*a->subset(*b), within) << named(*a) << " " << named(*b);
    EXPECT_EQ(*a->intersects(*b), meet) << named(*a) << " " << named(*b);
    for (const VersionRange* r : {&*a, &*both, &*either}) {
      auto text = tolva::write_vers(*r);
      if (!text) continue;  // pre-releases npm's ends cannot say
      auto again = tolva::read_vers(*text, true);
      ASSERT_TRUE(again) << *text << ": " << again.error().message;
      EXPECT_EQ(*tolva::write_vers(*again), *text);
      if (auto native = tolva::write_native(*r)) {
        auto back = tolva::read_native(*native, r->type().scheme);
        ASSERT_TRUE(back) << *native;
        EXPECT_EQ(*tolva::write_vers(*back), *text) << *native;
      }
    }
  }
  EXPECT_GT(checked, 300);
}

INSTANTIATE_TEST_SUITE_P(Types, Sets, testing::ValuesIn(grids()),
                         [](const auto& info) { return info.param.type; });

// Unions written back: the least version alone stays "=", and ranges that
// hold every version from the least up are "*".
TEST(VersionRange, UnionWritten) {
  const std::vector<std::array<std::string, 3>> cases = {
      {"vers:npm/0.0.0", "vers:npm/0.0.0", "vers:npm/0.0.0"},
      {"vers:npm/0.0.0", "vers:npm/>0.0.0", "vers:npm/*"},
      {"vers:semver/0.0.0-0", "vers:semver/0.0.0-0", "vers:semver/0.0.0-0"},
      {"vers:semver/0.0.0-0", "vers:semver/>0.0.0-0", "vers:semver/*"},
      {"vers:intdot/<=1", "vers:intdot/>=1.0", "vers:intdot/*"},
      {"vers:npm/>=1.0.0|<1.0.1", "vers:npm/>1.0.0|<2.0.0", "vers:npm/>=1.0.0|<2.0.0"},
  };
  for (const auto& [a, b, written] : cases) {
    auto either = tolva::read_vers(a)->union_with(*tolva::read_vers(b));
    ASSERT_TRUE(either) << a;
    EXPECT_EQ(named(*either), written) << a << " " << b;
  }
}

// The ends of the key line: a closed end holds its version, an open one not,
// and the versions just beside it fall on their own side.
TEST(KeySet, EndsAtTheirVersion) {
  using tolva::KeySet;
  const KeySet at_least = KeySet::at_least({"b", "b"}, true);
  const KeySet above = KeySet::at_least({"b", "b"}, false);
  EXPECT_TRUE(at_least.contains("b"));
  EXPECT_FALSE(above.contains("b"));
  EXPECT_TRUE(above.contains("b\x01"));
  EXPECT_FALSE(at_least.contains("a\xff"));
  EXPECT_TRUE(KeySet::below({"b", "b"}, false).union_with(above).complement() ==
              KeySet::only({"b", "b"}));
  EXPECT_TRUE(KeySet::below({"b", "b"}, false).union_with(at_least).is_everything());
  EXPECT_TRUE(KeySet::below({"b", "b"}, false).intersection(at_least).empty());
}

}  // namespace
