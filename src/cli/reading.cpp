#include "reading.hpp"

#include <utility>

#include "grammar/read_kinds.hpp"
#include "tolva/grammar/readers.hpp"
#include "tolva/grammar/text_order_key.hpp"

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
  switch (kind) {
    case Kind::semver: return wrapped(grammar::read_semver(text));
    case Kind::dot_separated: return wrapped(grammar::read_dot_separated(text));
    case Kind::other: return wrapped(grammar::read_other(text));
    case Kind::version: break;
  }
  return grammar::read_version(text);
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

std::expected<void, ParseError> append_key_as(std::string& out, Kind kind, std::string_view text,
                                              PartOrder parts) {
  switch (kind) {
    case Kind::semver: return append_order_key_as<SemVer>(out, text, parts);
    case Kind::dot_separated: return append_order_key_as<DotSeparated>(out, text, parts);
    case Kind::other: return append_order_key_as<Other>(out, text, parts);
    case Kind::version: break;
  }
  return append_order_key_as<Version>(out, text, parts);
}

}  // namespace tolva::cli
