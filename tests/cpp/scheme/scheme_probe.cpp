// Answers the differential tests: each line of standard input is a request,
// each answer one line.
//   compare SCHEME A B   -> "<", "=" or ">" by compare(), a space, the same
//                           by the order keys; "!" for a text refused
//   range SCHEME P RANGE V...  -> the versions in the range (P: 1 includes
//                           pre-releases), separated by spaces; "!" when the
//                           range is refused
// Fields are separated by tabs.
#include <iostream>
#include <string>
#include <vector>

#include "tolva/scheme/order.hpp"

namespace {

std::vector<std::string> fields(const std::string& line) {
  std::vector<std::string> out(1);
  for (char c : line) {
    if (c == '\t') {
      out.emplace_back();
    } else {
      out.back().push_back(c);
    }
  }
  return out;
}

char mark(int order) { return order < 0 ? '<' : order > 0 ? '>' : '='; }

}  // namespace

int main() {
  namespace scheme = tolva::scheme;
  std::string line;
  while (std::getline(std::cin, line)) {
    const auto f = fields(line);
    const auto s = scheme::named(f.at(1));
    if (!s) return 2;
    if (f[0] == "compare") {
      auto order = scheme::compare(f.at(2), f.at(3), *s);
      auto a = scheme::order_key(f[2], *s);
      auto b = scheme::order_key(f[3], *s);
      if (!order || !a || !b) {
        std::cout << "!\n";
        continue;
      }
      std::cout << mark(*order < 0   ? -1
                        : *order > 0 ? 1
                                     : 0)
                << ' ' << mark(a->compare(*b)) << '\n';
    } else {
      auto range = scheme::read_range(f.at(3), *s, f.at(2) == "1");
      if (!range) {
        std::cout << "!\n";
        continue;
      }
      std::string in;
      for (std::size_t i = 4; i < f.size(); ++i) {
        if (scheme::contains(*range, f[i]).value_or(false)) in += (in.empty() ? "" : " ") + f[i];
      }
      std::cout << in << '\n';
    }
  }
}
