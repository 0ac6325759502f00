#include "binding/rejected_text.hpp"

#include "binding/errors.hpp"
#include "tolva/explain.hpp"
#include "tolva/io/terminal_colour.hpp"

namespace tolva::binding {

PyObject* raise_rejected_text(std::string_view text, const grammar::ParseError& error,
                              std::string_view type_path) {
  const ReportStyle style{
      .source_name = type_path, .first_line = 1, .colour = io::stderr_colour_in_force()};
  return raise(PyExc_RuntimeError, explain(error, text, style));
}

}  // namespace tolva::binding
