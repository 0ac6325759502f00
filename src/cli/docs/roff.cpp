#include "roff.hpp"

#include <algorithm>

namespace tolva::cli::docs {

std::string roff_escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

void append_roff_text(std::string& out, std::string_view text) {
  while (!text.empty()) {
    std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    while (line.starts_with(' ')) line.remove_prefix(1);
    if (line.empty()) continue;
    if (line.starts_with('.') || line.starts_with('\'')) out += "\\&";
    out += roff_escaped(line);
    out += '\n';
  }
}

}  // namespace tolva::cli::docs
