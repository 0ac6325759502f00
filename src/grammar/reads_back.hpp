#pragma once

#include <string_view>

#include "tolva/values/version.hpp"

// Whether a value's text form reads back as the very same value: through the
// reader of its own class, to the same kind, parts and lists (meta included).
// Every value read from a text does, and so do most values built from fields;
// a part that holds a dot, or is empty, or a DotSeparated whose text reads as
// a SemVer, does not. Each is decided over `text`, the value's text form,
// without building the value read back, in one pass over the text and the
// parts, allocating nothing for a value that reads back.
namespace tolva::grammar {

[[nodiscard]] bool reads_back(const Version& v, std::string_view text);
[[nodiscard]] bool reads_back(const SemVer& v, std::string_view text);
[[nodiscard]] bool reads_back(const DotSeparated& v, std::string_view text);
[[nodiscard]] bool reads_back(const Other& v, std::string_view text);

}  // namespace tolva::grammar
