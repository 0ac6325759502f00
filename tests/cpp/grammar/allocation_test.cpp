// AddressSanitizer keeps its own allocator and routes the nothrow forms of
// operator new past the replacements below, so these tests only exist without it.
#ifndef __SANITIZE_ADDRESS__

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "tolva/grammar/readers.hpp"
#include "tolva/grammar/text_order_key.hpp"
#include "tolva/report/parsers.hpp"

// Counts every heap allocation of this test binary.
namespace {
std::atomic<std::size_t> allocations{0};
}

void* operator new(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace tolva::grammar {
namespace {

// Heap allocations made by `body`.
template <class F>
std::size_t allocations_of(F body) {
  const std::size_t before = allocations.load();
  body();
  return allocations.load() - before;
}

TEST(Allocation, plain_semver_parses_without_heap) {
  for (const char* text : {"1.2.3", "v4294967295.0.7", "01.02.03"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(allocations_of([&] { EXPECT_TRUE(read_semver(text)); }), 0u);
    EXPECT_EQ(allocations_of([&] { EXPECT_TRUE(read_version(text)); }), 0u);
    EXPECT_EQ(allocations_of([&] { EXPECT_TRUE(parse_semver(text)); }), 0u);
    EXPECT_EQ(allocations_of([&] { EXPECT_TRUE(parse_version(text)); }), 0u);
  }
}

// A value's lists are built once, straight into what the value keeps: a
// semantic version's one block, a dot-separated list's one vector. A check
// builds nothing.
TEST(Allocation, lists_are_built_once_and_checks_build_none) {
  const report::ReportStyle style;
  const char* long_name = "an_identifier_longer_than_23_bytes";
  for (const char* text : {"1.2.3-rc.1+b.2", "v1.2.3-", "1.2.3+x"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(allocations_of([&] { EXPECT_TRUE(read_semver(text)); }), 1u);
    EXPECT_EQ(allocations_of([&] { EXPECT_TRUE(read_version(text)); }), 1u);
    EXPECT_EQ(allocations_of([&] { EXPECT_TRUE(check_semver(text, style)); }), 0u);
    EXPECT_EQ(allocations_of([&] { EXPECT_TRUE(check_version(text, style)); }), 0u);
  }
  EXPECT_EQ(allocations_of([] { EXPECT_TRUE(read_dot_separated("a.b.c")); }), 1u);
  EXPECT_EQ(allocations_of([&] { EXPECT_TRUE(check_dot_separated("a.b.c", style)); }), 0u);
  EXPECT_EQ(allocations_of([&] { EXPECT_TRUE(check_version("1.2.c", style)); }), 0u);
  EXPECT_EQ(allocations_of([&] { EXPECT_TRUE(check_version(long_name, style)); }), 0u);
  EXPECT_EQ(allocations_of([&] { EXPECT_TRUE(check_other(long_name, style)); }), 0u);
}

// A key made from a text allocates nothing beyond the room it is given.
TEST(Allocation, keys_from_texts_build_nothing) {
  std::string key;
  key.reserve(256);
  for (const char* text : {"1.2.3-rc.1+b.2", "a.b.c", "an_identifier_longer_than_23_bytes"}) {
    for (PartOrder parts : {PartOrder::text, PartOrder::numeric}) {
      key.clear();
      EXPECT_EQ(
          allocations_of([&] { EXPECT_TRUE(append_order_key_as<Version>(key, text, parts)); }), 0u);
    }
  }
}

}  // namespace
}  // namespace tolva::grammar

#endif  // __SANITIZE_ADDRESS__
