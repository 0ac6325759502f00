#include <variant>

#include "checks.hpp"
#include "reference_grammar.hpp"

// parse_as<Version>; its kind is the first of the three single-kind readings that
// accepts the text, and it holds that reading's value.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tolva;
  fuzz::check_bytes(data, size);
  const std::optional<std::string_view> text = fuzz::as_text(data, size);
  const auto parsed = parse_as<Version>(*text);
  fuzz::check_outcome(*text, parsed, fuzz::reference::read_version);

  const auto semver = parse_as<SemVer>(*text);
  const auto dot_separated = parse_as<DotSeparated>(*text);
  const auto other = parse_as<Other>(*text);
  if (semver) {
    fuzz::require(parsed && std::holds_alternative<SemVer>(parsed->value) &&
                      text_form(*parsed) == text_form(*semver),
                  "a SemVer text is not read as that SemVer");
  } else if (dot_separated) {
    fuzz::require(parsed && std::holds_alternative<DotSeparated>(parsed->value) &&
                      text_form(*parsed) == *text,
                  "a dot-separated text is not read as that list");
  } else if (other) {
    fuzz::require(
        parsed && std::holds_alternative<Other>(parsed->value) && text_form(*parsed) == *text,
        "an identifier is not read as that Other");
  } else {
    fuzz::require(!parsed, "a text no kind accepts is read as a Version");
  }
  if (parsed) {
    fuzz::require(debug_form(*parsed).starts_with("Version::"),
                  "the debug form lacks its Version:: prefix");
  }
  return 0;
}
