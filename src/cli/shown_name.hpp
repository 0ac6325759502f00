#pragma once

#include <string>
#include <string_view>

namespace tolva::cli {

// A file name as reports can show it: report text is UTF-8, while a name is
// any bytes, so each byte that starts no valid UTF-8 sequence becomes U+FFFD.
std::string shown_name(std::string_view name);

}  // namespace tolva::cli
