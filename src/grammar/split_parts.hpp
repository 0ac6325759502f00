#pragma once

#include <cstddef>
#include <string_view>

#include "tolva/values/text_list.hpp"

namespace tolva::grammar::detail {

// The parts of a measured list, allocated once at their final size.
inline TextList split_parts(JoinedParts joined) {
  std::string_view list = joined.text;
  const std::size_t count = joined.count;
  TextList parts;
  parts.reserve(count);
  for (std::size_t i = 1; i < count; ++i) {
    const std::size_t dot = list.find('.');
    parts.emplace_back(list.substr(0, dot));
    list.remove_prefix(dot + 1);
  }
  if (count != 0) parts.emplace_back(list);
  return parts;
}

}  // namespace tolva::grammar::detail
