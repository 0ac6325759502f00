#include "../rejection.hpp"
#include "line_blocks.hpp"
#include "settings.hpp"
#include "text/decimal.hpp"

namespace tolva::cli::sort {

bool line_key(const Settings& settings, std::string_view line, const report::ReportStyle& style,
              std::string& out, std::string& reports) {
  std::string_view text = line;
  if (settings.options.key_field) {
    auto field = field_of(line, *settings.options.key_field, settings.options.separator);
    if (!field) {
      reports.append("tolva: ").append(style.source_name).push_back(':');
      append_decimal(reports, style.first_line);
      reports.append(": no field ");
      append_decimal(reports, *settings.options.key_field);
      reports.push_back('\n');
      return false;
    }
    text = *field;
  }
  auto made = settings.order.append_key(out, text);
  if (!made) {
    reports.append(full_report(Rejection{style.source_name, style.first_line, text, made.error()},
                               style.colour));
    if (!reports.ends_with('\n')) reports.push_back('\n');
    return false;
  }
  return true;
}

}  // namespace tolva::cli::sort
