#include <gtest/gtest.h>
#include <pthread.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "read_any.hpp"
#include "text/utf8.hpp"

namespace tolva::grammar {
namespace {

using testing::read_any;
using testing::Reader;

constexpr Reader all_readers[] = {Reader::Version, Reader::SemVer, Reader::DotSeparated,
                                  Reader::Other};

bool is_boundary(std::string_view text, std::size_t at) {
  return at == text.size() || (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80;
}

// A rejected text yields one error that points at a whole character of the text
// (or at its end) and lists each expected pattern once.
void expect_well_formed(Reader r, std::string_view text) {
  const auto result = read_any(r, text);
  if (result) return;
  const ParseError& e = result.error();
  SCOPED_TRACE(::testing::Message() << r << " on \"" << text << "\"");
  ASSERT_LE(e.span.start, text.size());
  ASSERT_TRUE(is_boundary(text, e.span.start));
  if (e.span.start == text.size()) {
    EXPECT_EQ(e.span.end, e.span.start);
    EXPECT_FALSE(e.found.has_value());
  } else {
    const auto d = text::decode_utf8(text, e.span.start);
    EXPECT_EQ(e.span.end, e.span.start + d.length);
    EXPECT_EQ(e.found, d.code_point);
  }
  EXPECT_FALSE(e.expected.empty());
  const std::set<ExpectedPattern> unique(e.expected.begin(), e.expected.end());
  EXPECT_EQ(unique.size(), e.expected.size());
}

const std::vector<std::string> alphabet = {
    "1", "0", "9", ".", "-", "+", "v", "V", "a", "Z", "_", " ", std::string(1, '\0'), "!",
    "\xC3\xA9",          // é, an identifier start
    "\xCC\x81",          // combining acute accent, identifier continue only
    "\xE4\xB8\xAD",      // a CJK ideograph, an identifier start
    "\xE2\x82\xAC",      // euro sign, in no class
    "\xF0\x9F\x98\x80",  // an emoji, in no class
};

TEST(Robustness, random_texts_give_a_value_or_one_well_formed_error) {
  std::mt19937 rng(20240601);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> length(0, 12);
  for (int i = 0; i < 4000; ++i) {
    std::string text;
    for (int n = length(rng); n > 0; --n) text += alphabet[pick(rng)];
    for (Reader r : all_readers) expect_well_formed(r, text);
  }
}

TEST(Robustness, non_ascii_at_every_position) {
  const std::string bases[] = {"", "1.2.3-rc.1+b.5", "v1.2.3", "a.b", "foo_bar", "1.2."};
  const std::string inserts[] = {"\xC3\xA9", "\xCC\x81", "\xF0\x9F\x98\x80", std::string(1, '\0')};
  for (const auto& base : bases)
    for (const auto& ins : inserts)
      for (std::size_t at = 0; at <= base.size(); ++at) {
        std::string text = base;
        text.insert(at, ins);
        for (Reader r : all_readers) expect_well_formed(r, text);
      }
}

// Runs `body` on a thread with a small stack, so deep recursion would crash.
template <class F>
void run_with_small_stack(F body) {
  pthread_attr_t attr;
  ASSERT_EQ(pthread_attr_init(&attr), 0);
  ASSERT_EQ(pthread_attr_setstacksize(&attr, 128 * 1024), 0);
  pthread_t thread;
  auto trampoline = [](void* arg) -> void* {
    (*static_cast<F*>(arg))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attr, trampoline, &body), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
}

TEST(Robustness, many_parts_parse_on_a_small_stack) {
  constexpr std::size_t parts = 500'000;
  std::string dotted;
  for (std::size_t i = 0; i < parts; ++i) dotted += i ? ".7" : "7";
  const std::string semver = "1.2.3-" + dotted + "+" + dotted;
  const std::string broken = dotted + ".";
  std::size_t version_parts = 0, rc_parts = 0, meta_parts = 0, error_at = 0;
  run_with_small_stack([&] {
    if (auto v = tolva::parse_as<tolva::Version>(dotted))
      version_parts = std::get<DotSeparated>(v->value).parts.size();
    if (auto v = tolva::parse_as<tolva::SemVer>(semver)) {
      rc_parts = v->rc()->size();
      meta_parts = v->meta()->size();
    }
    if (auto v = tolva::parse_as<tolva::Version>(broken); !v) error_at = v.error().span.start;
  });
  EXPECT_EQ(version_parts, parts);
  EXPECT_EQ(rc_parts, parts);
  EXPECT_EQ(meta_parts, parts);
  EXPECT_EQ(error_at, broken.size());
}

TEST(Robustness, ten_megabytes_of_parts) {
  const std::string unit = "12.rc-1.abc.";
  std::string text;
  text.reserve(10 * 1024 * 1024 + unit.size());
  while (text.size() < 10 * 1024 * 1024) text += unit;
  text += "end";
  const auto v = tolva::parse_as<tolva::DotSeparated>(text);
  ASSERT_TRUE(v.has_value());
  EXPECT_EQ(v->parts.size(), (text.size() - 3) / unit.size() * 3 + 1);
  EXPECT_EQ(v->parts[1], "rc-1");
  EXPECT_EQ(v->parts.back(), "end");
}

}  // namespace
}  // namespace tolva::grammar
