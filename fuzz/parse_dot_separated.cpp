#include "checks.hpp"
#include "reference_grammar.hpp"

// parse_as<DotSeparated>; an accepted text is its own text form.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tolva;
  fuzz::check_bytes(data, size);
  const std::optional<std::string_view> text = fuzz::as_text(data, size);
  const auto parsed = parse_as<DotSeparated>(*text);
  fuzz::check_outcome(*text, parsed, fuzz::reference::read_dot_separated);
  if (!parsed) return 0;

  for (std::string_view part : parsed->parts)
    fuzz::require(!part.empty() && part.find('.') == std::string_view::npos,
                  "a part is empty or holds a dot");
  fuzz::require(text_form(*parsed) == *text, "the text form differs from the text read");
  return 0;
}
