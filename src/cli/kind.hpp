#pragma once

#include <array>
#include <expected>
#include <string>
#include <string_view>
#include <type_traits>

#include "tolva/explain.hpp"
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

// `f(std::type_identity<K>{})` with the type `kind` reads as: the one place
// a choice of kind turns into a type.
template <class F>
decltype(auto) with_kind(KindChoice kind, F&& f) {
  switch (kind) {
    case KindChoice::semver: return f(std::type_identity<SemVer>{});
    case KindChoice::dot_separated: return f(std::type_identity<DotSeparated>{});
    case KindChoice::other: return f(std::type_identity<Other>{});
    case KindChoice::version: break;
  }
  return f(std::type_identity<Version>{});
}

// The commands that read many lines take the grammar's error as it is and draw
// a report (or a short line, or JSON) only for a line that needs one, so an
// accepted line costs no more than its reading.

// The value of `text` read as the kind, or the error. A value of one fixed
// kind is wrapped in a Version as well: within one kind the two orders agree,
// so every command orders and prints through the one type.
std::expected<Version, ParseError> read_as(KindChoice kind, std::string_view text);

// Whether `text` reads as the kind; nothing of it is built.
std::expected<void, ParseError> check_as(KindChoice kind, std::string_view text);

// Appends the order key of `text` read as the kind, in part order `parts`;
// nothing of the value is built.
std::expected<void, ParseError> append_key_as(std::string& out, KindChoice kind,
                                              std::string_view text, PartOrder parts);

// The debug form as the kind's own type writes it: only `version` writes the
// "Version::" prefix.
void append_debug_form_as(std::string& out, KindChoice kind, const Version& v);

}  // namespace tolva::cli
