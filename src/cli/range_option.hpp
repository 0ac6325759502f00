#pragma once

#include <optional>

#include "command_line.hpp"
#include "output.hpp"
#include "tolva/values/range.hpp"

namespace tolva::cli {

// How reports name the range text.
inline constexpr std::string_view range_source_name = "<range>";

// The invocation's range (none given: every SemVer, as an empty range text),
// or nothing once a range that does not read has been explained on standard
// error as a usage error.
std::optional<Range> read_range_option(const Invocation& invocation, bool colour, Streams& io);

RangeOptions range_options(const Invocation& invocation) noexcept;

}  // namespace tolva::cli
