#include "line_blocks.hpp"
#include "settings.hpp"
#include "text/decimal.hpp"
#include "tolva/values/order_key.hpp"

namespace tolva::cli::sort {

bool line_key(const Settings& settings, std::string_view line, const report::ReportStyle& style,
              std::string& key, std::string& reports) {
  std::string_view text = line;
  if (settings.key_field) {
    auto field = field_of(line, *settings.key_field, settings.separator);
    if (!field) {
      reports.append("tolva: ").append(style.source_name).push_back(':');
      append_decimal(reports, style.first_line);
      reports.append(": no field ");
      append_decimal(reports, *settings.key_field);
      reports.push_back('\n');
      return false;
    }
    text = *field;
  }
  auto parsed = parse_as(settings.kind, text, style);
  if (!parsed) {
    reports.append(parsed.error().message);
    if (!reports.ends_with('\n')) reports.push_back('\n');
    return false;
  }
  key.clear();
  append_order_key(key, *parsed, settings.parts);
  return true;
}

}  // namespace tolva::cli::sort
