// Runs every benchmark, then sets each measured time against its target as a
// ratio (CPU time, which a busy machine disturbs less than wall time).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

struct Target {
  const char* benchmark;
  const char* what;
  double limit_ns;
};

constexpr Target targets[] = {
    {"BM_ParseVersionRelease", "parse(\"1.2.3\")", 8},
    {"BM_ParseSemVerRelease", "parse_as<SemVer>(\"1.2.3\")", 8},
    {"BM_ParseSemVerFull", "parse_as<SemVer>(\"1.2.3-rc.1+build.5\")", 150},
    {"BM_SemVerCompareRelease", "compare two SemVer releases", 5},
    {"BM_SemVerCompareRc", "compare two SemVer decided by rc", 5},
    {"BM_ReadDotSeparated10MB", "read a 10 MB dot-separated text", 1e9},
    {"BM_LogDisabledDebugEvent", "disabled DEBUG event", 2},
    {"BM_LogInfoEventToDevNull", "INFO event with two fields to /dev/null", 1000},
};

// Pairs measured in the same run: the first at most as slow as the second.
struct Versus {
  const char* benchmark;
  const char* against;
  const char* what;
};

constexpr Versus pairs[] = {
    {"BM_KeyFromText", "BM_KeyThroughValue", "key from the text / key through the value"},
    {"BM_KeyFromText10MB", "BM_ReadDotSeparated10MB", "key of 10 MB from the text / its value"},
};

class CollectingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      double per_second = benchmark::GetTimeUnitMultiplier(run.time_unit);
      cpu_ns[run.benchmark_name()] = run.GetAdjustedCPUTime() / per_second * 1e9;
    }
  }
  std::map<std::string, double> cpu_ns;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  CollectingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  std::printf("\n%-42s %14s %14s %8s\n", "target", "measured ns", "limit ns", "ratio");
  for (const Target& t : targets) {
    auto found = reporter.cpu_ns.find(t.benchmark);
    if (found == reporter.cpu_ns.end()) continue;
    double ratio = found->second / t.limit_ns;
    std::printf("%-42s %14.2f %14.0f %8.3f %s\n", t.what, found->second, t.limit_ns, ratio,
                ratio <= 1.0 ? "ok" : "MISS");
  }
  std::printf("\n%-42s %8s\n", "same run", "ratio");
  for (const Versus& v : pairs) {
    auto first = reporter.cpu_ns.find(v.benchmark);
    auto second = reporter.cpu_ns.find(v.against);
    if (first == reporter.cpu_ns.end() || second == reporter.cpu_ns.end()) continue;
    double ratio = first->second / second->second;
    std::printf("%-42s %8.3f %s\n", v.what, ratio, ratio <= 1.0 ? "ok" : "MISS");
  }
  return 0;
}
