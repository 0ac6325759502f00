#pragma once

#include <algorithm>

namespace tolva::cli {

// The tool's exit statuses; a run ends with the worst it met.
enum class ExitStatus : int {
  ok = 0,        // every text was read
  rejected = 1,  // some text was rejected
  trouble = 2,   // a usage error, or an input that could not be read
};

inline ExitStatus worse(ExitStatus a, ExitStatus b) noexcept { return std::max(a, b); }

}  // namespace tolva::cli
