#pragma once

#include <compare>
#include <optional>
#include <string>

#include "command_line.hpp"
#include "tolva/values/version.hpp"

namespace tolva::cli {

// How two versions order under the options of an ordering command.
using VersionOrder = std::weak_ordering (*)(const Version&, const Version&);

VersionOrder version_order(const Invocation& invocation) noexcept;

// Why the ordering the options ask for cannot be had, for a usage error.
std::optional<std::string> refused_ordering(const Invocation& invocation);

}  // namespace tolva::cli
