#pragma once

#include <expected>
#include <string_view>

#include "tolva/error.hpp"
#include "tolva/report/parse_report.hpp"
#include "tolva/values/version.hpp"

// Text to value, with a rendered report as the error on failure. The text may
// be any bytes. Ill-formed UTF-8 is rejected like any other text the grammar
// does not take: the error's report points at the first place the reading
// could not go on, which is at the latest the first ill-formed sequence, and
// its label names the bytes there, as in
//   found invalid UTF-8 \xe2 expected identifier, or end of input
// The source row shows each ill-formed sequence as U+FFFD.
namespace tolva {

// Names under which reports identify the source of each kind.
namespace type_path {
inline constexpr std::string_view version = "tolva::package::version::Version";
inline constexpr std::string_view semver = "tolva::package::version::semver::SemVer";
inline constexpr std::string_view dot_separated =
    "tolva::package::version::dot_separated::DotSeparated";
inline constexpr std::string_view other = "tolva::package::version::other::Other";
}  // namespace type_path

[[nodiscard]] std::expected<Version, Error> parse_version(std::string_view text);
[[nodiscard]] std::expected<SemVer, Error> parse_semver(std::string_view text);
[[nodiscard]] std::expected<DotSeparated, Error> parse_dot_separated(std::string_view text);
[[nodiscard]] std::expected<Other, Error> parse_other(std::string_view text);

// The same readings, with reports drawn in `style`; an empty source name
// stands for the kind's type path.
[[nodiscard]] std::expected<Version, Error> parse_version(std::string_view text,
                                                          const report::ReportStyle& style);
[[nodiscard]] std::expected<SemVer, Error> parse_semver(std::string_view text,
                                                        const report::ReportStyle& style);
[[nodiscard]] std::expected<DotSeparated, Error> parse_dot_separated(
    std::string_view text, const report::ReportStyle& style);
[[nodiscard]] std::expected<Other, Error> parse_other(std::string_view text,
                                                      const report::ReportStyle& style);

// Whether the text reads as the kind, with the same report as the parser's
// when it does not. Nothing is built of an accepted text, so checking costs no
// memory that grows with the text.
[[nodiscard]] std::expected<void, Error> check_version(std::string_view text,
                                                       const report::ReportStyle& style);
[[nodiscard]] std::expected<void, Error> check_semver(std::string_view text,
                                                      const report::ReportStyle& style);
[[nodiscard]] std::expected<void, Error> check_dot_separated(std::string_view text,
                                                             const report::ReportStyle& style);
[[nodiscard]] std::expected<void, Error> check_other(std::string_view text,
                                                     const report::ReportStyle& style);

}  // namespace tolva
