#include "commands.hpp"
#include "docs/documents.hpp"
#include "option_values.hpp"
#include "shown_name.hpp"
#include "usage_error.hpp"

namespace tolva::cli {

ExitStatus run_completion(const Invocation& invocation, Streams& io) {
  const std::string_view shell = invocation.operands.front();
  if (same_word(shell, "bash")) {
    io.out.write(docs::bash_completion());
  } else if (same_word(shell, "zsh")) {
    io.out.write(docs::zsh_completion());
  } else {
    return usage_error(io, quoted_name(shell) + " is not a shell tolva completes: bash or zsh",
                       Command::completion);
  }
  return ExitStatus::ok;
}

}  // namespace tolva::cli
