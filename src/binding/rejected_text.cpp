#include "binding/rejected_text.hpp"

#include <span>

#include "binding/errors.hpp"
#include "tolva/io/terminal_colour.hpp"
#include "tolva/report/parse_report.hpp"

namespace tolva::binding {

PyObject* raise_rejected_text(std::string_view text, const grammar::ParseError& error,
                              std::string_view type_path) {
  report::ReportStyle style;
  style.source_name = type_path;
  style.colour = io::stderr_colour_in_force();
  const Error report =
      report::build_parse_report(text, std::span<const grammar::ParseError>(&error, 1), style);
  return raise_parse_failure(report);
}

}  // namespace tolva::binding
