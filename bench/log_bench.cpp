// Cost of a recording callsite: disabled (one relaxed load) and enabled (a
// whole block formatted and written to /dev/null).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <mutex>

#include "io/stdout_lock.hpp"
#include "tolva/log/fmt_subscriber.hpp"
#include "tolva/log/log.hpp"

namespace {

int null_descriptor() {
  static const int fd = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  return fd;
}

// Writes like write_stdout, under the same lock, but to /dev/null.
std::expected<void, std::error_code> write_null(std::string_view bytes) {
  std::lock_guard guard(tolva::io::stdout_lock());
  if (::write(null_descriptor(), bytes.data(), bytes.size()) < 0) {
    return std::unexpected(std::error_code(errno, std::system_category()));
  }
  return {};
}

std::shared_ptr<tolva::log::Subscriber> null_subscriber() {
  tolva::log::FmtOptions options;
  options.colour = true;
  options.writer = write_null;
  return tolva::log::make_fmt_subscriber(options);
}

void BM_LogDisabledDebugEvent(benchmark::State& state) {
  const auto subscriber = null_subscriber();
  tolva::log::ScopedDefault scope(subscriber);
  std::uint64_t n = 0;
  for (auto _ : state) {
    TOLVA_DEBUG("not written", {"n", ++n});
    benchmark::ClobberMemory();
  }
  if (n != 0) state.SkipWithError("a disabled callsite evaluated its fields");
}
BENCHMARK(BM_LogDisabledDebugEvent);

void BM_LogInfoEventToDevNull(benchmark::State& state) {
  const auto subscriber = null_subscriber();
  tolva::log::ScopedDefault scope(subscriber);
  for (auto _ : state) {
    TOLVA_INFO("request served", {"status", 200}, {"path", "/api/v1/items"});
  }
}
BENCHMARK(BM_LogInfoEventToDevNull);

}  // namespace
