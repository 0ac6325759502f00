#include "checks.hpp"
#include "reference_grammar.hpp"

// parse_as<Other>; an accepted text is kept whole as the value.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tolva;
  fuzz::check_bytes(data, size);
  const std::optional<std::string_view> text = fuzz::as_text(data, size);
  const auto parsed = parse_as<Other>(*text);
  fuzz::check_outcome(*text, parsed, fuzz::reference::read_other);
  if (parsed) fuzz::require(parsed->value == *text, "the value differs from the text read");
  return 0;
}
