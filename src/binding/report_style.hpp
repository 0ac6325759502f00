#pragma once

#include "tolva/report/parse_report.hpp"

namespace tolva::binding {

// The style of the reports the module raises: coloured when standard error
// takes colour (CLICOLOR, CLICOLOR_FORCE, NO_COLOR, TERM and whether
// descriptor 2 is a terminal), decided at the first report and kept for the
// life of the process.
report::ReportStyle report_style() noexcept;

}  // namespace tolva::binding
