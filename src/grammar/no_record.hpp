#pragma once

#include <cstddef>

#include "tolva/grammar/parse_error.hpp"

namespace tolva::grammar::detail {

// The recorder of a first try, which only asks whether a text is accepted: it
// keeps nothing, so a Scanner over it is the grammar with its failure
// bookkeeping compiled away. Recording never steers a rule, so this reading
// accepts exactly what a Scanner over a FailureRecord accepts.
struct NoRecord {
  void record(std::size_t, ExpectedPattern) noexcept {}
  void record_large_number(std::size_t, std::size_t) noexcept {}
  void relabel_if_at(std::size_t, ExpectedPattern) noexcept {}
  void merge(const NoRecord&) noexcept {}
};

}  // namespace tolva::grammar::detail
