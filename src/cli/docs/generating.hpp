#pragma once

#include <string>
#include <string_view>

#include "cli/definitions.hpp"

namespace tolva::cli::docs {

inline void append_part(std::string& out, char c) { out.push_back(c); }
inline void append_part(std::string& out, std::string_view text) { out.append(text); }

// The parts, one after another. (g++ 12 warns of overlapping copies, wrongly,
// where `"text" + std::string` is inlined; appending draws no warning.)
template <class... Parts>
std::string concat(const Parts&... parts) {
  std::string out;
  (append_part(out, parts), ...);
  return out;
}

// What a completion offers for an option's value.
enum class ValueCompletion { none, choices, file, directory };

inline ValueCompletion value_completion(const OptionDefinition& option) {
  if (!option.choices.empty()) return ValueCompletion::choices;
  if (option.value_name == "FILE") return ValueCompletion::file;
  if (option.value_name == "DIR") return ValueCompletion::directory;
  return ValueCompletion::none;
}

}  // namespace tolva::cli::docs
