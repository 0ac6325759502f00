#pragma once

#include <expected>
#include <string>
#include <string_view>

#include "tolva/grammar/parse_error.hpp"
#include "tolva/grammar/read_range.hpp"
#include "tolva/grammar/readers.hpp"
#include "tolva/grammar/text_order_key.hpp"
#include "tolva/report/parse_report.hpp"
#include "tolva/values/formatting.hpp"
#include "tolva/values/hash.hpp"
#include "tolva/values/identical.hpp"
#include "tolva/values/range.hpp"
#include "tolva/values/version.hpp"

// Text to value, and the report for a text that is rejected:
//
//   auto v = tolva::parse(text);
//   if (!v) std::cerr << tolva::explain(v.error(), text);
//
// Parsing reads nothing but the text; the report is drawn only when asked
// for, in the style the caller gives.
namespace tolva {

using ParseError = grammar::ParseError;
using ReportStyle = report::ReportStyle;

// The text as a value of kind `K`, or the furthest place its reading failed.
// Any bytes are accepted; ill-formed UTF-8 is never part of a value.
template <Parsable K>
[[nodiscard]] std::expected<K, ParseError> parse_as(std::string_view text) {
  if constexpr (std::same_as<K, SemVer>)
    return grammar::read_semver(text);
  else if constexpr (std::same_as<K, DotSeparated>)
    return grammar::read_dot_separated(text);
  else if constexpr (std::same_as<K, Other>)
    return grammar::read_other(text);
  else
    return grammar::read_version(text);
}

// SemVer, else DotSeparated, else Other: the first reading that takes it all.
[[nodiscard]] inline std::expected<Version, ParseError> parse(std::string_view text) {
  return grammar::read_version(text);
}

// A range of versions (the text's grammar is described at
// grammar::read_range), or the furthest place its reading failed, which
// explain() draws over the range text. Test versions with contains().
[[nodiscard]] inline std::expected<Range, ParseError> parse_range(std::string_view text) {
  return grammar::read_range(text);
}

// The report for `error`, a failure to read `text`, drawn in `style`: with
// colour only when the style asks for it, headed by the style's source name
// and the line and column (the default style names no source: "[ 1:5 ]").
// A failure to draw it (an error that does not fit the text, or no memory)
// gives that failure's text instead.
[[nodiscard]] std::string explain(const ParseError& error, std::string_view text,
                                  const ReportStyle& style = {});

}  // namespace tolva
