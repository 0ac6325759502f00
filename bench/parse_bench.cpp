#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "tolva/grammar/readers.hpp"

namespace {

// The most common input: a plain release, read as a Version.
void BM_ParseVersionRelease(benchmark::State& state) {
  std::string_view text = "1.2.3";
  for (auto _ : state) {
    benchmark::DoNotOptimize(text);
    auto v = tolva::parse(text);
    benchmark::DoNotOptimize(v);
  }
}
BENCHMARK(BM_ParseVersionRelease);

void BM_ParseSemVerRelease(benchmark::State& state) {
  std::string_view text = "1.2.3";
  for (auto _ : state) {
    benchmark::DoNotOptimize(text);
    auto v = tolva::parse_as<tolva::SemVer>(text);
    benchmark::DoNotOptimize(v);
  }
}
BENCHMARK(BM_ParseSemVerRelease);

void BM_ParseSemVerFull(benchmark::State& state) {
  std::string_view text = "1.2.3-rc.1+build.5";
  for (auto _ : state) {
    benchmark::DoNotOptimize(text);
    auto v = tolva::parse_as<tolva::SemVer>(text);
    benchmark::DoNotOptimize(v);
  }
}
BENCHMARK(BM_ParseSemVerFull);

// A rejected text pays for its expected list; the report is left out.
void BM_ReadVersionRejected(benchmark::State& state) {
  std::string_view text = "1.2.3 ";
  for (auto _ : state) {
    benchmark::DoNotOptimize(text);
    auto v = tolva::parse(text);
    benchmark::DoNotOptimize(v);
  }
}
BENCHMARK(BM_ReadVersionRejected);

// Ten megabytes of short parts: throughput of the dot-separated list.
void BM_ReadDotSeparated10MB(benchmark::State& state) {
  const std::string unit = "12.rc-1.abc.";
  std::string text;
  while (text.size() < 10 * 1024 * 1024) text += unit;
  text += "end";
  for (auto _ : state) {
    auto v = tolva::parse_as<tolva::DotSeparated>(text);
    benchmark::DoNotOptimize(v);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadDotSeparated10MB)->Unit(benchmark::kMillisecond);

}  // namespace
