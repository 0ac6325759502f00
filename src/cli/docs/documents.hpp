#pragma once

#include <expected>
#include <string>
#include <string_view>

namespace tolva::cli::docs {

// The manual page, in roff, of the tool at `version`; or why an example in
// it does not read.
std::expected<std::string, std::string> man_page(std::string_view version);

// The completion scripts: bash's (a function `_tolva` and its `complete`
// line) and zsh's (`_tolva`, for a directory on $fpath).
std::string bash_completion();
std::string zsh_completion();

}  // namespace tolva::cli::docs
