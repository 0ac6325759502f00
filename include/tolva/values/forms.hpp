#pragma once

#include <iosfwd>

namespace tolva {

// The text and debug forms of a value as a new string; each kind appends its
// own (append_text_form, append_debug_form). `String` only leaves <string>
// to the caller, which has it to hold the result.
template <class T, class String = std::string>
[[nodiscard]] String text_form(const T& v) {
  String out;
  append_text_form(out, v);
  return out;
}
template <class T, class String = std::string>
[[nodiscard]] String debug_form(const T& v) {
  String out;
  append_debug_form(out, v);
  return out;
}

}  // namespace tolva
