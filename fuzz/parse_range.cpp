#include <array>
#include <vector>

#include "checks.hpp"
#include "tolva/explain.hpp"
#include "tolva/values/range.hpp"

namespace {

using namespace tolva;

const std::array<Version, 7>& probes() {
  static const std::array<Version, 7> made = [] {
    std::array<Version, 7> values;
    const std::array<std::string_view, 7> texts{
        "1.2.3", "0.0.0-rc.1", "4294967295.0.0+b", "1.2.3-alpha", "1.2", "", "x_y"};
    for (std::size_t i = 0; i < texts.size(); ++i) values[i] = *parse(texts[i]);
    return values;
  }();
  return made;
}

// The alternatives of a range text, split at each "||": no operand holds a '|'.
std::vector<std::string_view> alternatives(std::string_view text) {
  std::vector<std::string_view> found;
  for (std::size_t at; (at = text.find("||")) != std::string_view::npos;
       text.remove_prefix(at + 2)) {
    found.push_back(text.substr(0, at));
  }
  found.push_back(text);
  return found;
}

}  // namespace

// parse_range over any bytes: a rejection is one error inside the text whose
// report is the drawing of it; an accepted range holds for a version exactly
// when one of its alternatives, read alone, does.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::optional<std::string_view> text = fuzz::as_text(data, size);
  const auto range = parse_range(*text);
  if (!range) {
    const std::string_view name = "<range>";
    const report::ReportStyle style{.source_name = name, .first_line = 1, .colour = false};
    fuzz::check_rejection(*text, range.error(), explain(range.error(), *text, style), name);
    return 0;
  }
  std::vector<Range> parts;
  for (std::string_view alternative : alternatives(*text)) {
    auto part = parse_range(alternative);
    if (!part) return 0;  // blanks alone read as "*" only as a whole range
    parts.push_back(std::move(*part));
  }
  for (const Version& v : probes()) {
    for (PartOrder order : {PartOrder::text, PartOrder::numeric}) {
      for (bool pre : {false, true}) {
        const RangeOptions options{.include_prerelease = pre, .parts = order};
        bool any = false;
        for (const Range& part : parts) any = any || contains(part, v, options);
        fuzz::require(contains(*range, v, options) == any,
                      "a range and its alternatives read alone disagree");
      }
    }
  }
  return 0;
}
