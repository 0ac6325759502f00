#pragma once

#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <string_view>

#include "text/utf8.hpp"
#include "tolva/error.hpp"
#include "tolva/grammar/parse_error.hpp"
#include "tolva/values/version.hpp"

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
void check_rejection(std::string_view text, const grammar::ParseError& error, const Error& report,
                     std::string_view type_path);

// The reader (ParseError) and the parser (rendered report) of one kind must
// agree on every text, and the reader with the reference reading of the
// grammar; both written forms of an accepted value are checked.
// A rejection must not depend on anything past the character it found: a
// parse tests every character up to its furthest failure and none beyond,
// except that a number is read whole before its range is judged.
template <class T, class Reader, class Reference>
void check_outcome(std::string_view text, const Reader& read_kind, const Reference& reference,
                   const std::expected<T, Error>& parsed, std::string_view type_path) {
  const std::expected<T, grammar::ParseError> read = read_kind(text);
  const std::expected<T, grammar::ParseError> expected = reference(text);
  require(read.has_value() == parsed.has_value(), "reader and parser disagree on acceptance");
  require(read.has_value() == expected.has_value(), "reader and reference disagree on acceptance");
  require(!read || text::is_valid_utf8(text), "ill-formed UTF-8 was accepted");
  if (!read && read.error() != expected.error())
    require(false, "reader and reference disagree: " + describe(read.error()) + " against " +
                       describe(expected.error()));
  if (read && tolva::debug_form(*read) != tolva::debug_form(*expected))
    require(false, "reader and reference read different values: " + tolva::debug_form(*read) +
                       " against " + tolva::debug_form(*expected));
  if (!parsed) {
    check_rejection(text, read.error(), parsed.error(), type_path);
    std::size_t end = read.error().span.end;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    const auto cut = read_kind(text.substr(0, end));
    require(!cut && cut.error() == read.error(), "the error depends on text past it");
    return;
  }
  const std::string text_form = tolva::text_form(*parsed);
  const std::string debug_form = tolva::debug_form(*parsed);
  require(text_form == tolva::text_form(*read) && debug_form == tolva::debug_form(*read),
          "reader and parser read different values");
  check_written(text_form);
  check_written(debug_form);
}

}  // namespace tolva::fuzz
