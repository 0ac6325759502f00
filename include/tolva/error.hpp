#pragma once

#include <string>

namespace tolva {

// A failure carried as a result: the core never throws, it returns one of these.
struct Error {
  std::string message;
};

}  // namespace tolva
