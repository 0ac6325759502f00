#pragma once

#include <expected>
#include <span>
#include <string>
#include <string_view>

#include "command_line.hpp"
#include "exit_status.hpp"
#include "output.hpp"
#include "tolva/scheme/version_range.hpp"

namespace tolva::cli {

// A range on the command line: a vers text, whose type must agree with
// --scheme when that is given, or a range in the scheme's own syntax, whose
// scheme is --scheme or else the type of the vers texts beside it (`others`).
std::expected<VersionRange, RangeError> read_range_operand(
    std::string_view text, const Invocation& invocation,
    std::span<const std::string_view> others = {});

// Tells of a range that did not read or combine, as "tolva: COMMAND: MESSAGE
// (REASON)" on standard error. Returns `trouble`.
ExitStatus range_trouble(Streams& io, const Invocation& invocation, const RangeError& error);

}  // namespace tolva::cli
