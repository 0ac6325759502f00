#include <gtest/gtest.h>

#include <algorithm>
#include <compare>
#include <string>
#include <vector>

#include "make_values.hpp"

namespace tolva::testing {
namespace {

int sign(std::weak_ordering o) { return o < 0 ? -1 : (o > 0 ? 1 : 0); }

// Checks every operator of `a` against `b` for the expected sign: on the
// Version and, when both hold the same kind, on the held values themselves.
void expect_order(const Version& a, const Version& b, int expected) {
  EXPECT_EQ(sign(a <=> b), expected);
  EXPECT_EQ(a == b, expected == 0);
  EXPECT_EQ(a != b, expected != 0);
  EXPECT_EQ(a < b, expected < 0);
  EXPECT_EQ(a <= b, expected <= 0);
  EXPECT_EQ(a > b, expected > 0);
  EXPECT_EQ(a >= b, expected >= 0);
  if (a.value.index() != b.value.index()) return;
  std::visit(
      [&](const auto& held) {
        const auto& other = std::get<std::decay_t<decltype(held)>>(b.value);
        EXPECT_EQ(sign(held <=> other), expected);
        EXPECT_EQ(held == other, expected == 0);
        EXPECT_EQ(held < other, expected < 0);
      },
      a.value);
}

struct OrderCase {
  Version left;
  Version right;
  int order;  // -1 less, 0 equal, 1 greater
};

void PrintTo(const OrderCase& c, std::ostream* os) {
  *os << debug_form(c.left) << " vs " << debug_form(c.right);
}

class Order : public ::testing::TestWithParam<OrderCase> {};

TEST_P(Order, both_directions) {
  const OrderCase& c = GetParam();
  expect_order(c.left, c.right, c.order);
  expect_order(c.right, c.left, -c.order);
}

Version dotted(TextList parts) { return version(DotSeparated{std::move(parts)}); }
Version other(std::string value) { return version(Other{std::move(value)}); }
Version sv(std::uint32_t major, std::uint32_t minor, std::uint32_t patch,
           std::optional<TextList> rc = std::nullopt, std::optional<TextList> meta = std::nullopt) {
  return version(semver(major, minor, patch, std::move(rc), std::move(meta)));
}

INSTANTIATE_TEST_SUITE_P(
    Table, Order,
    ::testing::Values(
        OrderCase{sv(1, 2, 3), sv(1, 10, 0), -1},
        OrderCase{sv(2, 0, 0), sv(1, 99, 99), 1},
        OrderCase{sv(1, 0, 0, TextList{"alpha"}), sv(1, 0, 0), -1},
        OrderCase{sv(1, 0, 0, TextList{}), sv(1, 0, 0, TextList{"alpha"}), -1},
        OrderCase{sv(1, 0, 0, TextList{}), sv(1, 0, 0), -1},
        OrderCase{sv(1, 0, 0, TextList{"alpha"}), sv(1, 0, 0, TextList{"alpha", "1"}), -1},
        OrderCase{sv(1, 0, 0, TextList{"alpha", "10"}), sv(1, 0, 0, TextList{"alpha", "9"}), -1},
        OrderCase{sv(1, 0, 0, TextList{"RC", "1"}), sv(1, 0, 0, TextList{"rc", "1"}), -1},
        OrderCase{sv(1, 0, 0, std::nullopt, TextList{"build", "1"}),
                  sv(1, 0, 0, std::nullopt, TextList{"build", "2"}), 0},
        OrderCase{sv(1, 0, 0, TextList{"rc", "1"}, TextList{"a"}), sv(1, 0, 0, TextList{"rc", "1"}), 0},
        OrderCase{sv(1, 0, 0), sv(1, 0, 0, std::nullopt, TextList{"x"}), 0},
        OrderCase{dotted({"1", "10"}), dotted({"1", "9"}), -1},
        OrderCase{dotted({"1", "2"}), dotted({"1", "2", "0"}), -1},
        OrderCase{dotted({}), dotted({"0"}), -1},
        OrderCase{other("abc"), other("abd"), -1},
        OrderCase{other("ab"), other("abc"), -1},
        OrderCase{other("Zeta"), other("alpha"), -1},
        OrderCase{sv(99, 0, 0), dotted({"0"}), -1},
        OrderCase{dotted({"zzz"}), other("a_b"), -1},
        OrderCase{sv(1, 2, 3), dotted({"1", "2", "3"}), -1},
        // Bytes compare unsigned: any non-ASCII byte sorts after ASCII.
        OrderCase{other("\x7f"), other("\xc3\xa9"), -1},
        OrderCase{sv(1, 0, 0, TextList{"-"}), sv(1, 0, 0, TextList{"0"}), -1}));

// Ascending; values within one group are equal to each other.
std::vector<std::vector<Version>> sorted_groups() {
  std::vector<std::vector<Version>> groups;
  auto add = [&groups](auto... values) {
    groups.emplace_back();
    (groups.back().push_back(std::move(values)), ...);
  };
  add(sv(0, 0, 0, TextList{}), sv(0, 0, 0, TextList{}, TextList{"m"}));
  add(sv(0, 0, 0, TextList{""}));
  add(sv(0, 0, 0, TextList{"", ""}));
  add(sv(0, 0, 0, TextList{"-"}));
  add(sv(0, 0, 0, TextList{"0"}));
  add(sv(0, 0, 0), sv(0, 0, 0, std::nullopt, TextList{}));
  add(sv(0, 0, 1, TextList{"RC", "1"}));
  add(sv(0, 0, 1, TextList{"rc", "1"}), sv(0, 0, 1, TextList{"rc", "1"}, TextList{"a"}));
  add(sv(0, 0, 1, TextList{"rc", "1", "0"}));
  add(sv(0, 0, 1, TextList{"rc", "10"}));
  add(sv(0, 0, 1), sv(0, 0, 1, std::nullopt, TextList{"x"}), sv(0, 0, 1, std::nullopt, TextList{}));
  add(sv(0, 1, 0, TextList{"z"}));
  add(sv(0, 1, 0));
  add(sv(1, 2, 3));
  add(sv(1, 10, 0));
  add(sv(4294967295u, 0, 0));
  add(sv(4294967295u, 4294967295u, 4294967295u));
  add(dotted({}));
  add(dotted({""}));
  add(dotted({"", ""}));
  add(dotted({"0"}));
  add(dotted({"1", "10"}));
  add(dotted({"1", "2"}));
  add(dotted({"B"}));
  add(dotted({"a"}));
  add(dotted({"a.b"}));
  add(dotted({"zzz"}));
  add(dotted({"\xc3\xa9"}));
  add(other(""));
  add(other("Zeta"));
  add(other("a_b"));
  add(other("abc"));
  add(other("alpha"));
  add(other("\xc3\xa9"));
  return groups;
}

TEST(SortedSequence, every_pair_agrees_on_every_operator) {
  const auto groups = sorted_groups();
  for (std::size_t i = 0; i < groups.size(); ++i)
    for (std::size_t j = 0; j < groups.size(); ++j)
      for (const auto& a : groups[i])
        for (const auto& b : groups[j]) {
          SCOPED_TRACE(debug_form(a) + " vs " + debug_form(b));
          expect_order(a, b, i < j ? -1 : (i > j ? 1 : 0));
        }
}

TEST(SortedSequence, stable_sort_keeps_values_differing_only_in_meta_in_input_order) {
  std::vector<SemVer> values;
  for (const char* meta : {"c", "a", "b"})
    values.push_back(semver(1, 0, 0, std::nullopt, TextList{meta}));
  values.insert(values.begin() + 1, semver(0, 9, 0));
  std::stable_sort(values.begin(), values.end());

  ASSERT_EQ(values.size(), 4u);
  EXPECT_EQ(text_form(values[0]), "0.9.0");
  EXPECT_EQ(text_form(values[1]), "1.0.0+c");
  EXPECT_EQ(text_form(values[2]), "1.0.0+a");
  EXPECT_EQ(text_form(values[3]), "1.0.0+b");
}

}  // namespace
}  // namespace tolva::testing
