#include "range_option.hpp"

#include <string>

#include "tolva/parse.hpp"
#include "usage.hpp"

namespace tolva::cli {

std::optional<Range> read_range_option(const Invocation& invocation, bool colour, Streams& io) {
  const std::string_view text = invocation.range.value_or(std::string_view());
  auto range = parse_range(text);
  if (range) return std::move(*range);
  std::string message = "tolva: the range does not read\n";
  message += explain(range.error(), text, {.source_name = range_source_name, .colour = colour});
  message += usage_line(invocation.command);
  message += "Try 'tolva --help' for more.\n";
  io.report(message);
  return std::nullopt;
}

RangeOptions range_options(const Invocation& invocation) noexcept {
  return RangeOptions{
      .include_prerelease = invocation.include_prerelease,
      .parts = invocation.numeric_parts ? PartOrder::numeric : PartOrder::text,
  };
}

}  // namespace tolva::cli
