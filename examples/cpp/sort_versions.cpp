// Reads version texts, sorts them and prints each in its text and debug
// forms, then shows the report for a text no reading accepts.
//
//   g++ -std=c++23 sort_versions.cpp $(pkg-config --cflags --libs tolva) -o sort_versions

#include <algorithm>
#include <iomanip>
#include <iostream>
#include <string_view>
#include <vector>

#include <tolva/tolva.hpp>

int main() {
  std::cout << "tolva " << TOLVA_VERSION << '\n';

  std::vector<tolva::Version> versions;
  for (std::string_view text :
       {"1.10.0", "v1.2.3-rc.1", "2024.04", "1.2.3", "nightly", "1.2.3+build.7"}) {
    auto parsed = tolva::parse(text);
    if (!parsed) {
      std::cerr << tolva::explain(parsed.error(), text) << '\n';
      return 1;
    }
    versions.push_back(std::move(*parsed));
  }
  std::stable_sort(versions.begin(), versions.end());
  for (const auto& v : versions) {
    std::cout << std::left << std::setw(14) << v << ' ' << tolva::debug_form(v) << '\n';
  }

  // A report drawn for a named input; colour only when the style asks.
  constexpr std::string_view line = "1.2.x";
  auto rejected = tolva::parse_as<tolva::SemVer>(line);
  if (rejected) return 1;
  std::cout << tolva::explain(rejected.error(), line,
                              {.source_name = "versions.txt", .first_line = 3})
            << '\n';
  return 0;
}
