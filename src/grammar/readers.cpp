#include "tolva/grammar/readers.hpp"

#include <utility>

#include "scanner.hpp"

namespace tolva::grammar {

std::expected<Version, ParseError> read_version(std::string_view text) {
  detail::Scanner s(text);
  if (auto v = s.semver_text(); v && s.end_of_input()) return Version{std::move(*v)};
  s.rewind();
  if (auto parts = s.dot_list(); s.end_of_input()) return Version{DotSeparated{std::move(parts)}};
  s.rewind();
  if (auto id = s.identifier(); id && s.end_of_input()) return Version{Other{std::string(*id)}};
  return std::unexpected(s.error());
}

std::expected<SemVer, ParseError> read_semver(std::string_view text) {
  detail::Scanner s(text);
  if (auto v = s.semver_text(); v && s.end_of_input()) return std::move(*v);
  return std::unexpected(s.error());
}

std::expected<DotSeparated, ParseError> read_dot_separated(std::string_view text) {
  detail::Scanner s(text);
  if (auto parts = s.dot_list(); s.end_of_input()) return DotSeparated{std::move(parts)};
  return std::unexpected(s.error());
}

std::expected<Other, ParseError> read_other(std::string_view text) {
  detail::Scanner s(text);
  if (auto id = s.identifier(); id && s.end_of_input()) return Other{std::string(*id)};
  return std::unexpected(s.error());
}

}  // namespace tolva::grammar
