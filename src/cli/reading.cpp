#include "reading.hpp"

#include <utility>

#include "grammar/read_kinds.hpp"

namespace tolva::cli {
namespace {

using grammar::ParseError;
using grammar::detail::acceptance;
using grammar::detail::Build;

ParseError as_is(ParseError&& e) noexcept { return std::move(e); }

template <class T>
std::expected<Version, ParseError> wrapped(std::expected<T, ParseError>&& read) {
  if (!read) return std::unexpected(std::move(read.error()));
  return Version{std::move(*read)};
}

}  // namespace

std::expected<Version, ParseError> read_as(Kind kind, std::string_view text) {
  namespace g = grammar::detail;
  switch (kind) {
    case Kind::semver: return wrapped(g::read_semver_as<ParseError>(text, as_is));
    case Kind::dot_separated: return wrapped(g::read_dot_separated_as<ParseError>(text, as_is));
    case Kind::other: return wrapped(g::read_other_as<ParseError>(text, as_is));
    case Kind::version: break;
  }
  return g::read_version_as<ParseError>(text, as_is);
}

std::expected<void, ParseError> check_as(Kind kind, std::string_view text) {
  namespace g = grammar::detail;
  switch (kind) {
    case Kind::semver:
      return acceptance(g::read_semver_as<ParseError, Build::nothing>(text, as_is));
    case Kind::dot_separated:
      return acceptance(g::read_dot_separated_as<ParseError, Build::nothing>(text, as_is));
    case Kind::other: return acceptance(g::read_other_as<ParseError, Build::nothing>(text, as_is));
    case Kind::version: break;
  }
  return acceptance(g::read_version_as<ParseError, Build::nothing>(text, as_is));
}

}  // namespace tolva::cli
