#pragma once

#include "binding/py_ref.hpp"

#include <string_view>

#include "tolva/grammar/parse_error.hpp"

namespace tolva::binding {

// A rejected version text: RuntimeError with the report for `error` over
// `text`, named `type_path`. The report is coloured when standard error takes
// colour (CLICOLOR, CLICOLOR_FORCE, NO_COLOR, TERM and whether descriptor 2
// is a terminal), decided at the first report and kept for the life of the
// process.
PyObject* raise_rejected_text(std::string_view text, const grammar::ParseError& error,
                              std::string_view type_path);

}  // namespace tolva::binding
