#pragma once

#include <string>
#include <string_view>

#include "tolva/grammar/read_range.hpp"
#include "tolva/grammar/readers.hpp"
#include "tolva/report/parse_report.hpp"

// Text to value, and the report for a text that is rejected:
//
//   auto v = tolva::parse(text);
//   if (!v) std::cerr << tolva::explain(v.error(), text);
//
// Parsing reads nothing but the text; the report is drawn only when asked
// for, in the style the caller gives.
namespace tolva {

using ReportStyle = report::ReportStyle;

// The report for `error`, a failure to read `text`, drawn in `style`: with
// colour only when the style asks for it, headed by the style's source name
// and the line and column (the default style names no source: "[ 1:5 ]").
// A failure to draw it (an error that does not fit the text, or no memory)
// gives that failure's text instead.
[[nodiscard]] std::string explain(const ParseError& error, std::string_view text,
                                  const ReportStyle& style = {});

}  // namespace tolva
