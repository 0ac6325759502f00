#include "checks.hpp"
#include "reference_grammar.hpp"
#include "tolva/grammar/readers.hpp"
#include "tolva/report/parsers.hpp"

// parse_other; an accepted text is kept whole as the value.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tolva;
  fuzz::check_bytes(data, size);
  const std::optional<std::string_view> text = fuzz::as_text(data, size);
  const auto parsed = parse_other(*text);
  fuzz::check_outcome(*text, grammar::read_other, fuzz::reference::read_other, parsed,
                      type_path::other);
  if (parsed) fuzz::require(parsed->value == *text, "the value differs from the text read");
  return 0;
}
