#pragma once

#include <expected>
#include <ostream>
#include <string>
#include <string_view>

#include "tolva/grammar/readers.hpp"

namespace tolva::grammar::testing {

enum class Reader { Version, SemVer, DotSeparated, Other };

inline std::ostream& operator<<(std::ostream& os, Reader r) {
  constexpr const char* names[] = {"version", "semver", "dot_separated", "other"};
  return os << names[static_cast<int>(r)];
}

// A compact description of a parsed value that keeps apart what the text form
// merges: absent and empty lists, and parts that contain dots.
inline std::string describe_list(TextSpan parts) {
  std::string out = "[";
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i != 0) out += '|';
    out += parts[i];
  }
  return out + "]";
}
inline std::string describe_optional_list(const OptionalTextSpan& parts) {
  return parts ? describe_list(*parts) : "none";
}
inline std::string describe(const SemVer& v) {
  return "SemVer " + std::to_string(v.major) + " " + std::to_string(v.minor) + " " +
         std::to_string(v.patch) + " rc:" + describe_optional_list(v.rc()) +
         " meta:" + describe_optional_list(v.meta());
}
inline std::string describe(const DotSeparated& v) { return "Dot " + describe_list(v.parts); }
inline std::string describe(const Other& v) { return "Other " + std::string(v.value.view()); }
inline std::string describe(const Version& v) {
  return std::visit([](const auto& inner) { return describe(inner); }, v.value);
}

// Runs one reader; the value comes back described.
inline std::expected<std::string, ParseError> read_any(Reader r, std::string_view text) {
  auto run = [](auto&& result) -> std::expected<std::string, ParseError> {
    if (result) return describe(*result);
    return std::unexpected(result.error());
  };
  switch (r) {
    case Reader::Version: return run(tolva::parse_as<tolva::Version>(text));
    case Reader::SemVer: return run(tolva::parse_as<tolva::SemVer>(text));
    case Reader::DotSeparated: return run(tolva::parse_as<tolva::DotSeparated>(text));
    case Reader::Other: break;
  }
  return run(tolva::parse_as<tolva::Other>(text));
}

}  // namespace tolva::grammar::testing
