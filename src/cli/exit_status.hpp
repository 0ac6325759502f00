#pragma once

#include <algorithm>

namespace tolva::cli {

// The tool's exit statuses; a run ends with the worst it met.
enum class ExitStatus : int {
  ok = 0,        // every text was read
  rejected = 1,  // some text was rejected
  trouble = 2,   // a usage error, or an input that could not be read
  // The reader of standard output went away: the status a shell shows for
  // a filter ended by SIGPIPE, for when that signal is ignored.
  closed_pipe = 128 + 13,
};

inline ExitStatus worse(ExitStatus a, ExitStatus b) noexcept { return std::max(a, b); }

}  // namespace tolva::cli
