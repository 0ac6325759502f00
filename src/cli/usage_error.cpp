#include "usage_error.hpp"

#include <string>

#include "usage.hpp"

namespace tolva::cli {

ExitStatus usage_error(Streams& io, std::string_view message, std::optional<Command> command) {
  std::string text = "tolva: ";
  text.append(message).push_back('\n');
  text.append(usage_line(command));
  text.append("Try 'tolva --help' for more.\n");
  io.report(text);
  return ExitStatus::trouble;
}

}  // namespace tolva::cli
