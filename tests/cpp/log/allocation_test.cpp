// Counts the allocations of each thread, so the capture's reader thread does
// not disturb the count of the thread under test. AddressSanitizer keeps its
// own allocator, so these tests only exist without it.
#ifndef __SANITIZE_ADDRESS__

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

#include "log_fixture.hpp"
#include "tolva/log/log.hpp"

namespace {
thread_local std::size_t allocations = 0;
}

void* operator new(std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

using tolva::log::Level;

void record_one(const tolva::log::Span& span, int n) {
  auto entered = span.enter();
  TOLVA_INFO("served", {"status", n}, {"path", "/api/v1/items"}, {"ok", true});
}

TEST(allocation_test, an_event_of_a_seen_size_allocates_nothing) {
  auto subscriber = tolva::log::make_fmt_subscriber(log_test::plain_options());
  tolva::log::ScopedDefault scope(subscriber);
  FdCapture capture(1);
  const std::size_t at_start = allocations;
  const tolva::log::Span span =
      tolva::log::open_span({Level::info, "app", "request", "", 0}, nullptr, {{"id", 7}});
  record_one(span, 100);  // grows the thread's buffer and span stack
  const std::size_t before = allocations;
  EXPECT_GT(before, at_start) << "the counter sees the span's own storage";
  record_one(span, 200);
  const std::size_t after = allocations;
  const std::string& out = capture.finish();
  EXPECT_EQ(after - before, 0u);
  EXPECT_NE(out.find("status: 200"), std::string::npos);
}

TEST(allocation_test, disabled_callsite_allocates_nothing) {
  auto subscriber = tolva::log::make_fmt_subscriber(log_test::plain_options());
  tolva::log::ScopedDefault scope(subscriber);
  const std::size_t before = allocations;
  TOLVA_DEBUG("not written", {"text", std::string(100, 'x')});
  EXPECT_EQ(allocations, before);
}

}  // namespace

#endif
