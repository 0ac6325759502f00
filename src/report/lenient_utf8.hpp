#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tolva::report {

struct LenientChar {
  char32_t code_point;  // U+FFFD for an ill-formed sequence
  std::uint8_t length;  // bytes taken, 1 to 4
  bool well_formed;
};

// Decodes the character at `pos` (< text.size()) of any byte string. An
// ill-formed sequence gives U+FFFD and takes its longest well-formed prefix,
// at least one byte, so decoding always moves on.
LenientChar decode_lenient(std::string_view text, std::size_t pos) noexcept;

struct Utf8Fault {
  std::size_t index;                  // where the first ill-formed sequence starts
  std::optional<std::size_t> length;  // its length; absent when the text ends inside it
};

// The first ill-formed sequence of `text`, if any.
std::optional<Utf8Fault> find_utf8_fault(std::string_view text) noexcept;

}  // namespace tolva::report
