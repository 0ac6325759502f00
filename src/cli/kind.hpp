#pragma once

#include <expected>
#include <string>
#include <string_view>

#include "tolva/error.hpp"
#include "tolva/report/parse_report.hpp"
#include "tolva/values/version.hpp"

namespace tolva::cli {

// Which parser reads the texts (`--kind`).
enum class Kind { version, semver, dot_separated, other };

// The name `--kind` takes and JSON output shows for a kind.
std::string_view kind_name(Kind kind) noexcept;

// Reads `text` with the kind's parser. A value of one fixed kind is wrapped in
// a Version as well: within one kind the two orders agree, so every command
// orders and prints through the one type.
std::expected<Version, Error> parse_as(Kind kind, std::string_view text,
                                       const report::ReportStyle& style);

// The debug form as the kind's own type writes it: only `version` writes the
// "Version::" prefix.
void append_debug_form_as(std::string& out, Kind kind, const Version& v);

}  // namespace tolva::cli
