// Reads version texts, sorts them and prints each in its text and debug
// forms, then shows the report for a text no reading accepts.
//
//   g++ -std=c++23 sort_versions.cpp $(pkg-config --cflags --libs tolva) -o sort_versions

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <tolva/tolva.hpp>

int main() {
  std::printf("tolva %s\n", TOLVA_VERSION);

  std::vector<tolva::Version> versions;
  for (const char* text : {"1.10.0", "v1.2.3-rc.1", "2024.04", "1.2.3", "nightly", "1.2.3+build.7"}) {
    auto parsed = tolva::parse_version(text);
    if (!parsed) {
      std::fprintf(stderr, "%s\n", parsed.error().message.c_str());
      return 1;
    }
    versions.push_back(std::move(*parsed));
  }
  std::stable_sort(versions.begin(), versions.end());
  for (const auto& v : versions) {
    std::printf("%-14s %s\n", tolva::text_form(v).c_str(), tolva::debug_form(v).c_str());
  }

  // A report drawn for a named input, without colour whatever the terminal.
  const tolva::report::ReportStyle style{.source_name = "versions.txt", .first_line = 3};
  auto rejected = tolva::parse_semver("1.2.x", style);
  if (rejected) return 1;
  std::printf("%s\n", rejected.error().message.c_str());
  return 0;
}
