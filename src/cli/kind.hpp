#pragma once

#include <array>
#include <expected>
#include <string>
#include <string_view>

#include "tolva/parse.hpp"
#include "tolva/values.hpp"

namespace tolva::cli {

// What `--kind` asks the texts to be read as: any kind (a Version) or one of
// the three, in the order of kind_words.
enum class KindChoice { version, semver, dot_separated, other };

// The words of the kinds, as `--kind` takes them and JSON output shows them,
// indexed by KindChoice.
inline constexpr std::array<std::string_view, 4> kind_words{"version", "semver", "dot-separated",
                                                            "other"};

// The word of a value's own kind.
constexpr std::string_view kind_word(Kind kind) noexcept {
  return kind_words[static_cast<std::size_t>(kind) + 1];
}

// The value of `text` read as the kind, or the error. A value of one fixed
// kind is wrapped in a Version as well: within one kind the two orders agree,
// so every command prints through the one type.
std::expected<Version, ParseError> read_as(KindChoice kind, std::string_view text);

// The debug form as the kind's own type writes it: only `version` writes the
// "Version::" prefix.
void append_debug_form_as(std::string& out, KindChoice kind, const Version& v);

}  // namespace tolva::cli
