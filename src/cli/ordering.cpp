#include "ordering.hpp"

namespace tolva::cli {
namespace {

std::weak_ordering by_default(const Version& a, const Version& b) { return a <=> b; }

}  // namespace

VersionOrder version_order(const Invocation&) noexcept { return by_default; }

std::optional<std::string> refused_ordering(const Invocation& invocation) {
  if (invocation.numeric_parts) return "--numeric-parts is not built yet";
  return std::nullopt;
}

}  // namespace tolva::cli
