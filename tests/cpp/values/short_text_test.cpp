#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "tolva/values/semver.hpp"
#include "tolva/values/short_text.hpp"

namespace tolva {
namespace {

// Lengths on both sides of the in-place limit.
class ShortTextLength : public ::testing::TestWithParam<std::size_t> {};

TEST_P(ShortTextLength, copies_and_moves_keep_every_byte) {
  std::string bytes(GetParam(), 'a');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>('a' + i % 26);
  ShortText text(bytes);
  EXPECT_EQ(text.view(), bytes);

  ShortText copy = text;
  ShortText assigned("old text that is longer than twenty-three bytes");
  assigned = text;
  ShortText moved = std::move(text);
  EXPECT_EQ(moved.view(), bytes);
  EXPECT_TRUE(text.empty());  // a moved-from text is empty and usable
  text = ShortText("reused");
  EXPECT_EQ(copy.view(), bytes);
  EXPECT_EQ(assigned.view(), bytes);
  moved = std::move(copy);
  EXPECT_EQ(moved.view(), bytes);
}

INSTANTIATE_TEST_SUITE_P(Limits, ShortTextLength, ::testing::Values(0, 1, 22, 23, 24, 300));

TEST(ShortText, orders_by_unsigned_bytes_with_prefixes_first) {
  EXPECT_LT(ShortText("a"), ShortText("\xC3\xA9"));
  EXPECT_LT(ShortText("abc"), ShortText("abcd"));
  EXPECT_LT(ShortText(std::string(23, 'z')), ShortText(std::string(24, 'z')));
  EXPECT_EQ(ShortText(std::string("a\0b", 3)), ShortText(std::string("a\0b", 3)));
  EXPECT_NE(ShortText(std::string("a\0b", 3)), ShortText("a"));
}

// The lists as "none" or "[a|b]", which keeps absent and empty apart.
std::string lists_of(const SemVer& v) {
  auto describe = [](const OptionalTextSpan& list) {
    if (!list) return std::string("none");
    std::string out = "[";
    for (const ShortText& part : *list) out.append(out.size() > 1 ? "|" : "").append(part.view());
    return out + "]";
  };
  return describe(v.rc()) + " " + describe(v.meta());
}

// Each list keeps its own state, whichever changes, and copies own their parts.
TEST(SemVerLists, each_list_keeps_its_state_while_the_other_changes) {
  SemVer v(1, 2, 3);
  v.set_meta(TextList{});
  EXPECT_EQ(lists_of(v), "none []");
  v.set_rc(TextList{"rc", std::string(30, 'x')});
  EXPECT_EQ(lists_of(v), "[rc|" + std::string(30, 'x') + "] []");
  const SemVer copy = v;
  v.set_meta(TextList{"b"});
  v.set_rc(std::nullopt);
  EXPECT_EQ(lists_of(v), "none [b]");
  v.set_meta(std::nullopt);
  EXPECT_EQ(lists_of(v), "none none");
  EXPECT_EQ(lists_of(copy), "[rc|" + std::string(30, 'x') + "] []");
  v = copy;
  v.set_lists(TextList{}, std::nullopt);
  EXPECT_EQ(lists_of(v), "[] none");
}

}  // namespace
}  // namespace tolva
