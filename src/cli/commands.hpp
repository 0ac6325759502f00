#pragma once

#include "command_line.hpp"
#include "exit_status.hpp"
#include "output.hpp"

namespace tolva::cli {

// Each command, with `colour` already decided for its reports.
ExitStatus run_check(const Invocation& invocation, bool colour, Streams& io);
ExitStatus run_sort(const Invocation& invocation, bool colour, Streams& io);
ExitStatus run_compare(const Invocation& invocation, bool colour, Streams& io);
ExitStatus run_parse(const Invocation& invocation, bool colour, Streams& io);
ExitStatus run_filter(const Invocation& invocation, bool colour, Streams& io);
// newest and oldest
ExitStatus run_extremes(const Invocation& invocation, bool colour, Streams& io);
ExitStatus run_completion(const Invocation& invocation, Streams& io);
ExitStatus run_vers(const Invocation& invocation, Streams& io);
ExitStatus run_range(const Invocation& invocation, Streams& io);

}  // namespace tolva::cli
