#include <benchmark/benchmark.h>

#include <string>

#include "tolva/values/semver.hpp"

namespace {

using tolva::OptionalTextList;
using tolva::SemVer;
using tolva::TextList;

// The common case: plain releases that differ in the last number.
void BM_SemVerCompareRelease(benchmark::State& state) {
  const SemVer a{1, 2, 3, {}, {}};
  const SemVer b{1, 2, 4, {}, {}};
  for (auto _ : state) {
    benchmark::DoNotOptimize(&a);
    benchmark::DoNotOptimize(&b);
    auto order = a <=> b;
    benchmark::DoNotOptimize(order);
  }
}
BENCHMARK(BM_SemVerCompareRelease);

// Equal numbers, so the pre-release lists decide.
void BM_SemVerCompareRc(benchmark::State& state) {
  const SemVer a{1, 2, 3, OptionalTextList(TextList{"rc", "1"}), {}};
  const SemVer b{1, 2, 3, OptionalTextList(TextList{"rc", "2"}), {}};
  for (auto _ : state) {
    benchmark::DoNotOptimize(&a);
    benchmark::DoNotOptimize(&b);
    auto order = a <=> b;
    benchmark::DoNotOptimize(order);
  }
}
BENCHMARK(BM_SemVerCompareRc);

void BM_SemVerTextForm(benchmark::State& state) {
  const SemVer v{1, 2, 3, OptionalTextList(TextList{"rc", "1"}),
                 OptionalTextList(TextList{"build", "5"})};
  for (auto _ : state) {
    std::string text = tolva::text_form(v);
    benchmark::DoNotOptimize(text.data());
  }
}
BENCHMARK(BM_SemVerTextForm);

void BM_SemVerTextFormRelease(benchmark::State& state) {
  const SemVer v{10, 20, 30, {}, {}};
  for (auto _ : state) {
    std::string text = tolva::text_form(v);
    benchmark::DoNotOptimize(text.data());
  }
}
BENCHMARK(BM_SemVerTextFormRelease);

}  // namespace
