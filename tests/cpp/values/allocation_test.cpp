// AddressSanitizer keeps its own allocator and routes the nothrow forms of
// operator new past the replacements below, so these tests only exist without it.
#ifndef __SANITIZE_ADDRESS__

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "make_values.hpp"

// Counts every allocation of this test binary, so the tests below can show
// that comparing allocates nothing and printing sizes its result once.
namespace {
std::size_t allocations = 0;
}

void* operator new(std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace tolva::testing {
namespace {

template <class F>
std::size_t count_allocations(F&& f) {
  const std::size_t before = allocations;
  f();
  return allocations - before;
}

const TextList long_parts{"a-rather-long-pre-release-part", "and-another-one-to-overflow"};

TEST(Allocation, comparing_allocates_nothing) {
  const Version values[] = {
      version(semver(1, 2, 3, long_parts, long_parts)),
      version(semver(1, 2, 3, long_parts)),
      version(semver(1, 2, 3)),
      version(DotSeparated{long_parts}),
      version(Other{long_parts[0]}),
  };
  for (const auto& a : values)
    for (const auto& b : values)
      EXPECT_EQ(count_allocations([&] {
                  volatile bool less = a < b;
                  volatile bool equal = a == b;
                  (void)less;
                  (void)equal;
                }),
                0u);
}

TEST(Allocation, each_form_is_built_in_one_allocation) {
  const Version values[] = {
      version(semver(4294967295u, 4294967295u, 4294967295u, long_parts, long_parts)),
      version(semver(4294967295u, 4294967295u, 4294967295u)),
      version(DotSeparated{long_parts}),
      version(Other{long_parts[0]}),
  };
  for (const auto& v : values) {
    SCOPED_TRACE(debug_form(v));
    EXPECT_EQ(count_allocations([&] { (void)text_form(v); }), 1u);
    EXPECT_EQ(count_allocations([&] { (void)debug_form(v); }), 1u);
    std::visit(
        [](const auto& held) {
          EXPECT_EQ(count_allocations([&] { (void)text_form(held); }), 1u);
          EXPECT_EQ(count_allocations([&] { (void)debug_form(held); }), 1u);
        },
        v.value);
  }
}

}  // namespace
}  // namespace tolva::testing

#endif  // __SANITIZE_ADDRESS__
