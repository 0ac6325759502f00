#pragma once

#include <string>
#include <string_view>

namespace tolva::cli::docs {

// Text for a roff text line: a backslash is the escape character, and every
// hyphen is a minus sign so that option names read and search as typed.
std::string roff_escaped(std::string_view text);

// Appends text as roff text lines, one for each of its lines, without
// leading blanks (which would break the filled line) or empty lines (which
// would break the paragraph); a line that would start with a dot or an
// apostrophe, and so be read as a request, starts with a zero-width `\&`.
void append_roff_text(std::string& out, std::string_view text);

}  // namespace tolva::cli::docs
