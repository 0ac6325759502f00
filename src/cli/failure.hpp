#pragma once

#include <string>

#include "exit_status.hpp"

namespace tolva::cli {

// What ends the tool before its command is done: thrown where it is met and
// caught in main alone, which writes "tolva: MESSAGE" (nothing when the
// message is empty, as for a reader that went away) and exits with `status`.
// Destructors on the way up remove what the command made, such as temporary
// files.
struct Failure {
  ExitStatus status;
  std::string message;
};

// A failure with status trouble and `message`.
[[noreturn]] inline void fail(std::string message) {
  throw Failure{ExitStatus::trouble, std::move(message)};
}

}  // namespace tolva::cli
