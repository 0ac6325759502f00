#include "tolva/report/parsers.hpp"

#include <span>

#include "grammar/read_kinds.hpp"
#include "tolva/report/parse_report.hpp"

namespace tolva {
namespace {

// Turns the one ParseError of a rejected text into its rendered report.
auto report_for(std::string_view text, std::string_view type_path) {
  return [=](grammar::ParseError&& e) {
    return report::build_parse_report(text, std::span<const grammar::ParseError>(&e, 1), type_path);
  };
}

// As report_for, drawn in the caller's style.
auto styled_report_for(std::string_view text, std::string_view type_path,
                       const report::ReportStyle& style) {
  report::ReportStyle named = style;
  if (named.source_name.empty()) named.source_name = type_path;
  return [=](grammar::ParseError&& e) {
    return report::build_parse_report(text, std::span<const grammar::ParseError>(&e, 1), named);
  };
}

}  // namespace

std::expected<Version, Error> parse_version(std::string_view text) {
  return grammar::detail::read_version_as<Error>(text, report_for(text, type_path::version));
}

std::expected<SemVer, Error> parse_semver(std::string_view text) {
  return grammar::detail::read_semver_as<Error>(text, report_for(text, type_path::semver));
}

std::expected<DotSeparated, Error> parse_dot_separated(std::string_view text) {
  return grammar::detail::read_dot_separated_as<Error>(text,
                                                       report_for(text, type_path::dot_separated));
}

std::expected<Other, Error> parse_other(std::string_view text) {
  return grammar::detail::read_other_as<Error>(text, report_for(text, type_path::other));
}

std::expected<Version, Error> parse_version(std::string_view text,
                                            const report::ReportStyle& style) {
  return grammar::detail::read_version_as<Error>(
      text, styled_report_for(text, type_path::version, style));
}

std::expected<SemVer, Error> parse_semver(std::string_view text, const report::ReportStyle& style) {
  return grammar::detail::read_semver_as<Error>(text,
                                                styled_report_for(text, type_path::semver, style));
}

std::expected<DotSeparated, Error> parse_dot_separated(std::string_view text,
                                                       const report::ReportStyle& style) {
  return grammar::detail::read_dot_separated_as<Error>(
      text, styled_report_for(text, type_path::dot_separated, style));
}

std::expected<Other, Error> parse_other(std::string_view text, const report::ReportStyle& style) {
  return grammar::detail::read_other_as<Error>(text,
                                               styled_report_for(text, type_path::other, style));
}

using grammar::detail::acceptance;
using grammar::detail::Build;

std::expected<void, Error> check_version(std::string_view text, const report::ReportStyle& style) {
  return acceptance(grammar::detail::read_version_as<Error, Build::nothing>(
      text, styled_report_for(text, type_path::version, style)));
}

std::expected<void, Error> check_semver(std::string_view text, const report::ReportStyle& style) {
  return acceptance(grammar::detail::read_semver_as<Error, Build::nothing>(
      text, styled_report_for(text, type_path::semver, style)));
}

std::expected<void, Error> check_dot_separated(std::string_view text,
                                               const report::ReportStyle& style) {
  return acceptance(grammar::detail::read_dot_separated_as<Error, Build::nothing>(
      text, styled_report_for(text, type_path::dot_separated, style)));
}

std::expected<void, Error> check_other(std::string_view text, const report::ReportStyle& style) {
  return acceptance(grammar::detail::read_other_as<Error, Build::nothing>(
      text, styled_report_for(text, type_path::other, style)));
}

}  // namespace tolva
