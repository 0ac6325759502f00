#pragma once

#include <optional>
#include <string>

#include "tolva/log/fmt_subscriber.hpp"

namespace tolva::log {

// Appends `time` as 2026-12-06T10:39:28.123456Z (years above 9999 with "+",
// negative years with their sign and four digits), or "<unknown time>".
void append_timestamp(std::string& out, std::optional<Timestamp> time);

}  // namespace tolva::log
