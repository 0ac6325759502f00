#include "drawn_report.hpp"

#include <new>

#include "label_colours.hpp"
#include "message.hpp"
#include "tolva/report/render.hpp"

namespace tolva::report {

std::string drawn_report(std::string_view text, std::span<const grammar::ParseError> errors,
                         const ReportStyle& style) {
  if (errors.empty()) return "Parse failed without reporting an error";
  // The report is written into memory, so running out of it is the one way
  // writing can fail.
  try {
    Report report{
        .source_id = std::string(style.source_name),
        .position = errors.front().span.start,
        .first_line = style.first_line,
        .labels = {},
    };
    LabelColours colours;
    report.labels.reserve(errors.size());
    for (const grammar::ParseError& error : errors) {
      report.labels.push_back(Label{error.span, label_text(error, text), colours.next()});
    }
    auto rendered = render_report(report, text, style.colour);
    if (!rendered) return std::move(rendered.error());
    return message_from_bytes(std::move(*rendered));
  } catch (const std::bad_alloc&) {
    return "Failed to write error to string: out of memory";
  }
}

}  // namespace tolva::report
