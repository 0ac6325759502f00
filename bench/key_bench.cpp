#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "tolva/explain.hpp"
#include "tolva/grammar/text_order_key.hpp"
#include "tolva/values/order_key.hpp"

namespace {

// The key of one line as sort makes it, straight from the text, against the
// way through the value it replaced.
void BM_KeyFromText(benchmark::State& state) {
  std::string_view text = "1.2.3-rc.1";
  std::string key;
  for (auto _ : state) {
    benchmark::DoNotOptimize(text);
    key.clear();
    auto made = tolva::append_order_key_as<tolva::Version>(key, text);
    benchmark::DoNotOptimize(made);
    benchmark::DoNotOptimize(key.data());
  }
}
BENCHMARK(BM_KeyFromText);

void BM_KeyThroughValue(benchmark::State& state) {
  std::string_view text = "1.2.3-rc.1";
  std::string key;
  for (auto _ : state) {
    benchmark::DoNotOptimize(text);
    key.clear();
    auto v = tolva::parse(text);
    if (v) tolva::append_order_key(key, *v);
    benchmark::DoNotOptimize(key.data());
  }
}
BENCHMARK(BM_KeyThroughValue);

// Ten megabytes of short parts, keyed from the text.
void BM_KeyFromText10MB(benchmark::State& state) {
  const std::string unit = "12.rc-1.abc.";
  std::string text;
  while (text.size() < 10 * 1024 * 1024) text += unit;
  text += "end";
  std::string key;
  for (auto _ : state) {
    key.clear();
    auto made = tolva::append_order_key_as<tolva::Version>(key, text);
    benchmark::DoNotOptimize(made);
    benchmark::DoNotOptimize(key.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_KeyFromText10MB)->Unit(benchmark::kMillisecond);

}  // namespace
