#include "tolva/grammar/reads_back.hpp"

#include <algorithm>

#include "char_classes.hpp"
#include "read_kinds.hpp"

namespace tolva::grammar {
namespace {

ParseError as_is(ParseError&& e) noexcept { return std::move(e); }

// A list joined by dots reads back part for part when each part is a run of
// part characters: the reading then cuts the text exactly at the joining dots
// and ends the list where the list ended. An empty part, or one holding any
// other byte (a dot among them), is cut or refused.
bool parts_read_back(TextSpan parts) {
  return std::ranges::all_of(parts, [](const ShortText& part) {
    return !part.empty() && std::ranges::all_of(part.view(), [](char c) {
      return detail::has_class(c, detail::kPartChar);
    });
  });
}

bool lists_read_back(const SemVer& v) {
  const OptionalTextSpan rc = v.rc();
  const OptionalTextSpan meta = v.meta();
  return (!rc || parts_read_back(*rc)) && (!meta || parts_read_back(*meta));
}

}  // namespace
}  // namespace tolva::grammar

namespace tolva {

using grammar::as_is;
using grammar::lists_read_back;
using grammar::parts_read_back;
namespace detail = grammar::detail;

// A SemVer's text is its numbers, then '-' and the rc list when rc is present
// and '+' and the meta list when meta is: each list reads back as itself, and
// an absent one stays absent.
bool reads_back(const SemVer& v, std::string_view) { return lists_read_back(v); }

bool reads_back(const DotSeparated& v, std::string_view) { return parts_read_back(v.parts); }

// The value is the whole text, which must be an identifier.
bool reads_back(const Other&, std::string_view text) {
  return detail::read_other_as<ParseError, detail::Build::nothing>(text, as_is).has_value();
}

// The kinds are tried in their order, so the text must also be read as the
// value's own kind, not an earlier one.
bool reads_back(const Version& v, std::string_view text) {
  const auto kind = detail::read_version_as<ParseError, detail::Build::nothing>(text, as_is);
  if (!kind || kind->kind() != v.kind()) return false;
  if (const auto* semver = v.get_if<SemVer>()) return lists_read_back(*semver);
  if (const auto* list = v.get_if<DotSeparated>()) return parts_read_back(list->parts);
  return true;
}

}  // namespace tolva
