#include "rejection.hpp"

#include <span>

#include "json.hpp"
#include "report/label_words.hpp"
#include "report/source_text.hpp"
#include "text/decimal.hpp"
#include "text/utf8.hpp"
#include "tolva/explain.hpp"
#include "tolva/report/parse_report.hpp"

namespace tolva::cli {

std::size_t column_of(const grammar::ParseError& error, std::string_view text) {
  return report::SourceLine(text, error.span.start).column_of(error.span.start) + 1;
}

std::string full_report(const Rejection& rejected, bool colour) {
  report::ReportStyle style{
      .source_name = rejected.file, .first_line = rejected.line, .colour = colour};
  return explain(rejected.error, rejected.text, style);
}

void append_short(std::string& out, const Rejection& rejected) {
  out.append(rejected.file).push_back(':');
  append_decimal(out, rejected.line);
  out.push_back(':');
  append_decimal(out, column_of(rejected.error, rejected.text));
  out.append(": ").append(report::label_text(rejected.error, rejected.text)).push_back('\n');
}

void append_json_error_fields(std::string& out, const grammar::ParseError& error,
                              std::string_view text) {
  out.append("\"column\":");
  append_decimal(out, column_of(error, text));
  out.append(",\"found\":");
  if (error.found && error.found_kind == grammar::FoundKind::Character) {
    // The character itself, which JSON escapes as it must, where the label
    // shows a stand-in or a name for the terminal.
    std::string found = "'";
    text::append_utf8(found, *error.found);
    found.push_back('\'');
    append_json_string(out, found);
  } else {
    append_json_string(out, report::found_text(error, text));
  }
  out.append(",\"expected\":[");
  for (std::size_t i = 0; i < error.expected.size(); ++i) {
    if (i > 0) out.push_back(',');
    append_json_string(out, grammar::display_text(error.expected[i]));
  }
  out.push_back(']');
}

void append_json(std::string& out, const Rejection& rejected) {
  out.append("{\"file\":");
  append_json_string(out, rejected.file);
  out.append(",\"line\":");
  append_decimal(out, rejected.line);
  out.push_back(',');
  append_json_error_fields(out, rejected.error, rejected.text);
  out.append(",\"text\":");
  append_json_string(out, rejected.text);
  out.append("}\n");
}

}  // namespace tolva::cli
