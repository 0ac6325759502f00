#pragma once

#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <string_view>

#include "text/utf8.hpp"
#include "tolva/explain.hpp"

// Properties every fuzz target checks, whatever the input. A broken property
// prints what failed and aborts, so that libFuzzer (or the replay main) keeps
// the input that broke it.
namespace tolva::fuzz {

// Prints `what` and aborts unless `ok`.
void require(bool ok, std::string_view what);

// The input bytes as they are: the parsers take any bytes, ill-formed UTF-8
// included.
std::optional<std::string_view> as_text(const std::uint8_t* data, std::size_t size);

// Checks what must hold for any bytes, ill-formed UTF-8 included: reports
// drawn over them (labels placed by the first bytes, both colourings), and
// their debug form as the value of an Other, which must spell them out.
void check_bytes(const std::uint8_t* data, std::size_t size);

// "span 5..6 found U+0078 expected [6 9 7 8]", for messages about an error.
std::string describe(const grammar::ParseError& error);

// A written form of a value: valid UTF-8.
void check_written(std::string_view form);

// A rejection: one error on a character of `text` (or on ill-formed bytes, or
// on a number above the 32-bit range) that names what was expected, and a
// report for it that reads as one.
void check_rejection(std::string_view text, const grammar::ParseError& error,
                     std::string_view report, std::string_view type_path);

// A kind's reading, its check and the reference reading of the grammar must
// agree on every text; a rejection's report is the drawing of its error, and
// both written forms of an accepted value are checked. A rejection must not
// depend on anything past the character it found: a parse tests every
// character up to its furthest failure and none beyond, except that a number
// is read whole before its range is judged.
template <class T, class Reference>
void check_outcome(std::string_view text, const std::expected<T, grammar::ParseError>& read,
                   const Reference& reference) {
  const std::expected<T, grammar::ParseError> expected = reference(text);
  const std::expected<void, grammar::ParseError> checked = check_as<T>(text);
  require(read.has_value() == checked.has_value() && (read || read.error() == checked.error()),
          "parse_as and check_as disagree");
  require(read.has_value() == expected.has_value(), "reader and reference disagree on acceptance");
  require(!read || text::is_valid_utf8(text), "ill-formed UTF-8 was accepted");
  if (!read && read.error() != expected.error())
    require(false, "reader and reference disagree: " + describe(read.error()) + " against " +
                       describe(expected.error()));
  if (read && debug_form(*read) != debug_form(*expected))
    require(false, "reader and reference read different values: " + debug_form(*read) +
                       " against " + debug_form(*expected));
  if (!read) {
    constexpr std::string_view name = "fuzz";
    check_rejection(text, read.error(), explain(read.error(), text, {.source_name = name}), name);
    std::size_t end = read.error().span.end;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    const auto cut = parse_as<T>(text.substr(0, end));
    require(!cut && cut.error() == read.error(), "the error depends on text past it");
    return;
  }
  check_written(text_form(*read));
  check_written(debug_form(*read));
}

}  // namespace tolva::fuzz
