#pragma once

#include <cstddef>
#include <expected>
#include <string>
#include <string_view>

namespace tolva::cli {

// The values options take, read strictly: the whole text or nothing. A
// failure says what the value should have been.

// A decimal number from `least` up, no sign, no blanks.
std::expected<std::size_t, std::string> read_count(std::string_view text, std::size_t least);

// A memory size as GNU sort reads it: a number of KiB, or with a suffix `b`
// (bytes), `K`/`k`, `M`, `G`, `T`, or `%` of physical memory.
std::expected<std::size_t, std::string> read_size(std::string_view text);

// Compares ASCII letters without regard to case.
bool same_word(std::string_view a, std::string_view b) noexcept;

}  // namespace tolva::cli
