#pragma once

#include <expected>
#include <string>
#include <string_view>

#include "tolva/report/report.hpp"

namespace tolva::report {

// The report drawn over `source`, with colour escape sequences when `colour`;
// or the text of the failure ("Label start is after its end") when a label
// cannot be drawn. Any byte string is accepted as source: ill-formed UTF-8 is
// shown as U+FFFD, control characters as visible stand-ins and format
// characters by name (<U+202E>). The header's column counts characters, and
// the marks stand under their characters as a terminal draws the line. Of a
// long line only a window around the marks is drawn: a side that holds more
// than 512 characters past them is cut to 256 and marked with "…".
[[nodiscard]] std::expected<std::string, std::string> render_report(const Report& report,
                                                                    std::string_view source,
                                                                    bool colour);

}  // namespace tolva::report
