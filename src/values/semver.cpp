#include "tolva/values/semver.hpp"

#include <algorithm>
#include <string>

#include "join.hpp"
#include "quoted_list.hpp"
#include "text/decimal.hpp"
#include "text_list_order.hpp"

namespace tolva {

using values::detail::append_joined;
using values::detail::append_optional_quoted_list;
using values::detail::joined_length;

std::weak_ordering compare_pre_releases(const SemVer& a, const SemVer& b,
                                        PartOrder order) noexcept {
  const OptionalTextSpan a_rc = a.rc();
  const OptionalTextSpan b_rc = b.rc();
  if (a_rc && b_rc) return values::detail::compare_lists(*a_rc, *b_rc, order);
  // A release (no rc) sorts after every pre-release of the same numbers.
  return b_rc.has_value() <=> a_rc.has_value();
}

bool operator==(const SemVer& a, const SemVer& b) noexcept {
  if (a.major != b.major || a.minor != b.minor || a.patch != b.patch) return false;
  const OptionalTextSpan a_rc = a.rc();
  const OptionalTextSpan b_rc = b.rc();
  if (!a_rc || !b_rc) return a_rc.has_value() == b_rc.has_value();
  return std::ranges::equal(*a_rc, *b_rc);
}

void append_text_form(std::string& out, const SemVer& v) {
  std::size_t length =
      decimal_length(v.major) + decimal_length(v.minor) + decimal_length(v.patch) + 2;
  if (v.rc()) length += 1 + joined_length(*v.rc());
  if (v.meta()) length += 1 + joined_length(*v.meta());
  out.reserve(out.size() + length);

  append_decimal(out, v.major);
  out += '.';
  append_decimal(out, v.minor);
  out += '.';
  append_decimal(out, v.patch);
  if (v.rc()) {
    out += '-';
    append_joined(out, *v.rc());
  }
  if (v.meta()) {
    out += '+';
    append_joined(out, *v.meta());
  }
}

void append_debug_form(std::string& out, const SemVer& v) {
  constexpr std::size_t labels = 50;  // everything but the numbers and the lists
  out.reserve(out.size() + labels + decimal_length(v.major) + decimal_length(v.minor) +
              decimal_length(v.patch) + values::detail::optional_quoted_list_hint(v.rc()) +
              values::detail::optional_quoted_list_hint(v.meta()));

  out += "SemVer { major: ";
  append_decimal(out, v.major);
  out += ", minor: ";
  append_decimal(out, v.minor);
  out += ", patch: ";
  append_decimal(out, v.patch);
  out += ", rc: ";
  append_optional_quoted_list(out, v.rc());
  out += ", meta: ";
  append_optional_quoted_list(out, v.meta());
  out += " }";
}

}  // namespace tolva
