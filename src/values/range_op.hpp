#pragma once

#include "tolva/values/range.hpp"

namespace tolva::values::detail {

// Whether `op` holds for a version ordered `order` (anything that compares
// with 0) against the comparator's operand, which is of the version's kind;
// `outside` answers for RangeOp::outside, which needs the upper bound too.
template <class Order, class Outside>
bool op_holds(RangeOp op, Order order, Outside outside) {
  switch (op) {
    case RangeOp::less: return order < 0;
    case RangeOp::less_equal: return order <= 0;
    case RangeOp::greater: return order > 0;
    case RangeOp::greater_equal: return order >= 0;
    case RangeOp::equal: return order == 0;
    case RangeOp::not_equal: return order != 0;
    case RangeOp::outside: break;
  }
  return outside(order);
}

}  // namespace tolva::values::detail
