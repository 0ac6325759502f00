#include "checks.hpp"
#include "reference_grammar.hpp"

// parse_as<SemVer>; an accepted text's text form reads back to the same value.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tolva;
  fuzz::check_bytes(data, size);
  const std::optional<std::string_view> text = fuzz::as_text(data, size);
  const auto parsed = parse_as<SemVer>(*text);
  fuzz::check_outcome(*text, parsed, fuzz::reference::read_semver);
  if (!parsed) return 0;

  const std::string written = text_form(*parsed);
  const auto again = parse_as<SemVer>(written);
  fuzz::require(again.has_value(), "the text form of a SemVer does not parse");
  fuzz::require(*again == *parsed && text_form(*again) == written,
                "the text form of a SemVer reads back to another value");
  return 0;
}
