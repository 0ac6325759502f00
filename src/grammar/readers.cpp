#include "tolva/grammar/readers.hpp"

#include "read_kinds.hpp"

namespace tolva {
namespace {

ParseError as_is(ParseError&& e) noexcept { return std::move(e); }

template <class K, grammar::detail::Build B>
std::expected<K, ParseError> read(std::string_view text) {
  namespace d = grammar::detail;
  if constexpr (std::same_as<K, SemVer>)
    return d::read_semver_as<ParseError, B>(text, as_is);
  else if constexpr (std::same_as<K, DotSeparated>)
    return d::read_dot_separated_as<ParseError, B>(text, as_is);
  else if constexpr (std::same_as<K, Other>)
    return d::read_other_as<ParseError, B>(text, as_is);
  else
    return d::read_version_as<ParseError, B>(text, as_is);
}

}  // namespace

template <Parsable K>
std::expected<K, ParseError> parse_as(std::string_view text) {
  return read<K, grammar::detail::Build::values>(text);
}

template <Parsable K>
std::expected<void, ParseError> check_as(std::string_view text) {
  return grammar::detail::acceptance(read<K, grammar::detail::Build::nothing>(text));
}

template std::expected<Version, ParseError> parse_as<Version>(std::string_view);
template std::expected<SemVer, ParseError> parse_as<SemVer>(std::string_view);
template std::expected<DotSeparated, ParseError> parse_as<DotSeparated>(std::string_view);
template std::expected<Other, ParseError> parse_as<Other>(std::string_view);
template std::expected<void, ParseError> check_as<Version>(std::string_view);
template std::expected<void, ParseError> check_as<SemVer>(std::string_view);
template std::expected<void, ParseError> check_as<DotSeparated>(std::string_view);
template std::expected<void, ParseError> check_as<Other>(std::string_view);

}  // namespace tolva

namespace tolva::grammar {

std::expected<Version, ParseError> read_version(std::string_view text) {
  return parse_as<Version>(text);
}
std::expected<SemVer, ParseError> read_semver(std::string_view text) {
  return parse_as<SemVer>(text);
}
std::expected<DotSeparated, ParseError> read_dot_separated(std::string_view text) {
  return parse_as<DotSeparated>(text);
}
std::expected<Other, ParseError> read_other(std::string_view text) { return parse_as<Other>(text); }

}  // namespace tolva::grammar
