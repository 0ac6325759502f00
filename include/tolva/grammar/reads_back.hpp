#pragma once

#include <string_view>

#include "tolva/values/version.hpp"

// Whether a value's text form reads back as the very same value: through the
// reader of its own class, to the same kind, parts and lists (meta included).
// A caller that stores a value as its text (a pickle, a database column) asks
// this instead of reading the text back and comparing, which would build a
// second value as large as the first. Every value read from a text reads
// back, and so do most values built from fields; a part that holds a dot, or
// is empty, or a DotSeparated whose text reads as a SemVer, does not. Each is
// decided over `text`, the value's text form (append_text_form), without
// building the value read back, in one pass over the text and the parts,
// allocating nothing.
namespace tolva {

[[nodiscard]] bool reads_back(const Version& v, std::string_view text);
[[nodiscard]] bool reads_back(const SemVer& v, std::string_view text);
[[nodiscard]] bool reads_back(const DotSeparated& v, std::string_view text);
[[nodiscard]] bool reads_back(const Other& v, std::string_view text);

}  // namespace tolva
