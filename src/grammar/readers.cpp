#include "tolva/grammar/readers.hpp"

#include "read_kinds.hpp"

namespace tolva::grammar {
namespace {

ParseError as_is(ParseError&& e) noexcept { return std::move(e); }

}  // namespace

std::expected<Version, ParseError> read_version(std::string_view text) {
  return detail::read_version_as<ParseError>(text, as_is);
}

std::expected<SemVer, ParseError> read_semver(std::string_view text) {
  return detail::read_semver_as<ParseError>(text, as_is);
}

std::expected<DotSeparated, ParseError> read_dot_separated(std::string_view text) {
  return detail::read_dot_separated_as<ParseError>(text, as_is);
}

std::expected<Other, ParseError> read_other(std::string_view text) {
  return detail::read_other_as<ParseError>(text, as_is);
}

}  // namespace tolva::grammar
