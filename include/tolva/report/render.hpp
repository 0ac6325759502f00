#pragma once

#include <expected>
#include <string>
#include <string_view>

#include "tolva/report/report.hpp"

namespace tolva::report {

// The report drawn over `source`, with colour escape sequences when `colour`;
// or the text of the failure ("Label start is after its end") when a label
// cannot be drawn. Any byte string is accepted as source: ill-formed UTF-8 is
// shown as U+FFFD, and control characters as visible stand-ins.
std::expected<std::string, std::string> render_report(const Report& report,
                                                      std::string_view source, bool colour);

}  // namespace tolva::report
