#pragma once

#include <iosfwd>
#include <string>
#include <version>

#include "tolva/values/version.hpp"

// The values in streams and, where the standard library has <format>, in
// std::format: "{}" is the text form, "{:?}" the debug form. libc++ 16 has
// <format> under -fexperimental-library without announcing it by
// __cpp_lib_format.
#if defined(__cpp_lib_format) || \
    (defined(_LIBCPP_VERSION) && !defined(_LIBCPP_HAS_NO_INCOMPLETE_FORMAT))
#define TOLVA_HAS_FORMAT 1
#include <algorithm>
#include <format>
#endif

namespace tolva {

// The text form.
std::ostream& operator<<(std::ostream& out, const SemVer& v);
std::ostream& operator<<(std::ostream& out, const DotSeparated& v);
std::ostream& operator<<(std::ostream& out, const Other& v);
std::ostream& operator<<(std::ostream& out, const Version& v);

#ifdef TOLVA_HAS_FORMAT
namespace values::detail {

// One formatter for the four kinds: an empty spec or "?", nothing else.
template <class T>
struct FormFormatter {
  bool debug = false;

  constexpr auto parse(std::format_parse_context& context) {
    auto it = context.begin();
    if (it != context.end() && *it == '?') {
      debug = true;
      ++it;
    }
    if (it != context.end() && *it != '}') {
      throw std::format_error("a tolva value takes \"{}\" or \"{:?}\"");
    }
    return it;
  }

  template <class Context>
  auto format(const T& v, Context& context) const {
    std::string form;
    if (debug)
      append_debug_form(form, v);
    else
      append_text_form(form, v);
    return std::ranges::copy(form, context.out()).out;
  }
};

}  // namespace values::detail
#endif

}  // namespace tolva

#ifdef TOLVA_HAS_FORMAT
template <>
struct std::formatter<tolva::SemVer> : tolva::values::detail::FormFormatter<tolva::SemVer> {};
template <>
struct std::formatter<tolva::DotSeparated>
    : tolva::values::detail::FormFormatter<tolva::DotSeparated> {};
template <>
struct std::formatter<tolva::Other> : tolva::values::detail::FormFormatter<tolva::Other> {};
template <>
struct std::formatter<tolva::Version> : tolva::values::detail::FormFormatter<tolva::Version> {};
#endif
