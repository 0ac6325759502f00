#include "tolva/report/parse_report.hpp"

#include <new>

#include "label_colours.hpp"
#include "message.hpp"
#include "tolva/report/render.hpp"

namespace tolva::report {

Error build_parse_report(std::string_view text, std::span<const grammar::ParseError> errors,
                         const ReportStyle& style) {
  if (errors.empty()) return Error{"Parse failed without reporting an error"};
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
    if (!rendered) return Error{std::move(rendered.error())};
    return Error{message_from_bytes(std::move(*rendered))};
  } catch (const std::bad_alloc&) {
    return Error{"Failed to write error to string: out of memory"};
  }
}

Error build_parse_report(std::string_view text, std::span<const grammar::ParseError> errors,
                         std::string_view type_path) {
  return build_parse_report(text, errors, ReportStyle{.source_name = type_path});
}

}  // namespace tolva::report
