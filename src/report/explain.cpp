#include <span>

#include "tolva/parse.hpp"

namespace tolva {

std::string explain(const ParseError& error, std::string_view text, const ReportStyle& style) {
  return report::build_parse_report(text, std::span<const ParseError>(&error, 1), style).message;
}

}  // namespace tolva
