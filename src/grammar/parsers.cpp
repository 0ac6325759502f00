#include "tolva/grammar/parsers.hpp"

#include <span>
#include <utility>

#include "tolva/grammar/readers.hpp"
#include "tolva/report/parse_report.hpp"

namespace tolva {
namespace {

// The reader's value, or the rendered report of its one error.
template <class T>
std::expected<T, Error> with_report(std::expected<T, grammar::ParseError>&& read,
                                    std::string_view text, std::string_view path) {
  if (read) return std::move(*read);
  return std::unexpected(
      report::build_parse_report(text, std::span<const grammar::ParseError>(&read.error(), 1), path));
}

}  // namespace

std::expected<Version, Error> parse_version(std::string_view text) {
  return with_report(grammar::read_version(text), text, type_path::version);
}

std::expected<SemVer, Error> parse_semver(std::string_view text) {
  return with_report(grammar::read_semver(text), text, type_path::semver);
}

std::expected<DotSeparated, Error> parse_dot_separated(std::string_view text) {
  return with_report(grammar::read_dot_separated(text), text, type_path::dot_separated);
}

std::expected<Other, Error> parse_other(std::string_view text) {
  return with_report(grammar::read_other(text), text, type_path::other);
}

}  // namespace tolva
