#include <array>

#include "row.hpp"

namespace tolva::scheme::detail {
namespace {

// In the order of the Scheme enumerators.
constexpr std::array<const Row*, std::size(all)> rows{
    &tolva_row, &semver_row, &natural_row, &debian_row, &rpm_row,   &apk_row,      &alpm_row,
    &pypi_row,  &cargo_row,  &gem_row,     &golang_row, &nuget_row, &composer_row, &maven_row};

}  // namespace

const Row& row(Scheme s) noexcept { return *rows[static_cast<std::size_t>(s)]; }

}  // namespace tolva::scheme::detail
