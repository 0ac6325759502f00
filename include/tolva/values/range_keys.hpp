#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tolva/values/range.hpp"

namespace tolva {

// A range that tests versions by their order keys (tolva/values/order_key.hpp)
// in its part order, so that a version need not be built to be tested: its
// key, made straight from its text, is enough. contains(key) answers as
// contains(range, v, options) does for the version v of that key.
class KeyedRange {
 public:
  KeyedRange(const Range& range, const RangeOptions& options);

  [[nodiscard]] bool contains(std::string_view key) const noexcept;

 private:
  struct Test {
    RangeOp op;
    std::string operand;
    std::string upper;  // for `outside` only
    bool names_prerelease;
  };
  std::vector<std::vector<Test>> alternatives_;
  bool include_prerelease_;
};

}  // namespace tolva
