#include "join.hpp"

namespace tolva::values::detail {

std::size_t joined_length(TextSpan parts) noexcept {
  if (parts.empty()) return 0;
  std::size_t length = parts.size() - 1;
  for (const auto& part : parts) length += part.size();
  return length;
}

void append_joined(std::string& out, TextSpan parts) {
  bool first = true;
  for (const auto& part : parts) {
    if (!first) out += '.';
    out += part;
    first = false;
  }
}

}  // namespace tolva::values::detail
