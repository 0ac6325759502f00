#pragma once

#include <span>
#include <string>
#include <string_view>

#include "tolva/grammar/parse_error.hpp"
#include "tolva/report/parse_report.hpp"

namespace tolva::report {

// The report for a rejected `text`, one label per error, drawn in `style`;
// what explain() draws for one error. A report that cannot be drawn gives
// the reason instead.
[[nodiscard]] std::string drawn_report(std::string_view text,
                                       std::span<const grammar::ParseError> errors,
                                       const ReportStyle& style);

}  // namespace tolva::report
