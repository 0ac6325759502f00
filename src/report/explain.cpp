#include <span>

#include "drawn_report.hpp"
#include "tolva/explain.hpp"

namespace tolva {

std::string explain(const ParseError& error, std::string_view text, const ReportStyle& style) {
  return report::drawn_report(text, std::span<const ParseError>(&error, 1), style);
}

}  // namespace tolva
