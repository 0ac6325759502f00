#include <array>

#include "row.hpp"

namespace tolva::scheme::detail {
namespace {

// In the order of the Scheme enumerators.
constexpr std::array<const Row*, std::size(all)> rows{&tolva_row, &semver_row, &natural_row,
                                                      &debian_row};

}  // namespace

const Row& row(Scheme s) noexcept { return *rows[static_cast<std::size_t>(s)]; }

}  // namespace tolva::scheme::detail
