#include "binding/report_style.hpp"

#include "tolva/io/terminal_colour.hpp"

namespace tolva::binding {

report::ReportStyle report_style() noexcept {
  report::ReportStyle style;
  style.colour = io::stderr_colour_in_force();
  return style;
}

}  // namespace tolva::binding
