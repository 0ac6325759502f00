#include "tolva/values/version.hpp"

#include <variant>

namespace tolva {
namespace {

// Calls `f` with the held value. Unlike std::visit this cannot throw: a
// variant left valueless by a failed assignment calls nothing.
template <class F>
void with_held(const Version& v, F&& f) {
  if (const auto* semver = std::get_if<SemVer>(&v.value))
    f(*semver);
  else if (const auto* dotted = std::get_if<DotSeparated>(&v.value))
    f(*dotted);
  else if (const auto* other = std::get_if<Other>(&v.value))
    f(*other);
}

// The value of the kind `T` that `v` holds; `v` must hold that kind.
template <class T>
const T& held_as(const Version& v) noexcept {
  return *std::get_if<T>(&v.value);
}

}  // namespace

bool operator==(const Version& a, const Version& b) noexcept {
  if (a.value.index() != b.value.index()) return false;
  bool equal = true;
  with_held(a, [&](const auto& held) { equal = held == held_as<std::decay_t<decltype(held)>>(b); });
  return equal;
}

void append_text_form(std::string& out, const Version& v) {
  with_held(v, [&out](const auto& held) { append_text_form(out, held); });
}

std::string text_form(const Version& v) {
  std::string out;
  with_held(v, [&out](const auto& held) { out = text_form(held); });
  return out;
}

void append_debug_form(std::string& out, const Version& v) {
  out += "Version::";
  with_held(v, [&out](const auto& held) { append_debug_form(out, held); });
}

std::string debug_form(const Version& v) {
  std::string out;
  append_debug_form(out, v);
  return out;
}

}  // namespace tolva
