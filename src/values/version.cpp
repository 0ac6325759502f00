#include "tolva/values/version.hpp"

#include <string>
#include <type_traits>

namespace tolva {

bool operator==(const Version& a, const Version& b) noexcept {
  if (a.value.index() != b.value.index()) return false;
  if (a.value.valueless_by_exception()) return true;
  return a.visit(
      [&b](const auto& held) { return held == *b.get_if<std::remove_cvref_t<decltype(held)>>(); });
}

void append_text_form(std::string& out, const Version& v) {
  v.visit([&out](const auto& held) { append_text_form(out, held); });
}

void append_debug_form(std::string& out, const Version& v) {
  out += "Version::";
  v.visit([&out](const auto& held) { append_debug_form(out, held); });
}

}  // namespace tolva
