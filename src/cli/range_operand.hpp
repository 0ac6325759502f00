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

// Whether a range text is in the vers notation ("vers:", in any case).
bool is_vers(std::string_view text) noexcept;

// A range on the command line: a vers text, whose type must agree with
// --scheme when that is given, or a range in the scheme's own syntax, whose
// scheme is --scheme or else the type of the vers texts beside it (`others`).
std::expected<VersionRange, RangeError> read_range_operand(
    std::string_view text, const Invocation& invocation,
    std::span<const std::string_view> others = {});

// The invocation with the scheme of its range (--range, or filter's), when
// that is a vers text of a scheme's type.
Invocation with_range_scheme(const Invocation& invocation);

// Tells of a range that did not read or combine, as "tolva: COMMAND: MESSAGE
// (REASON)" on standard error. Returns `trouble`.
ExitStatus range_trouble(Streams& io, const Invocation& invocation, const RangeError& error);
// The same for line `number` of the input `name`, which is no version of
// the range's type; the line is rejected.
ExitStatus line_trouble(Streams& io, const Invocation& invocation, std::string_view name,
                        std::size_t number, const RangeError& error);

}  // namespace tolva::cli
