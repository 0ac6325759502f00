#pragma once

#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <string_view>

#include "row.hpp"

// Composer's versions as its VersionParser reads them, shared by the version
// row (composer.cpp) and the constraint reader (composer_range.cpp).
namespace tolva::scheme::detail::composer {

// In Composer's order; `stable` is a release, written without a word.
enum class Stability : std::uint8_t { dev, alpha, beta, rc, stable, patch };

struct Parts {
  // A branch, "dev-NAME": its NAME. Composer orders no two branches, and
  // every one below the numbered versions; "master", "trunk" and "default"
  // (`default_branch`) are its newest development version, 9999999-dev.
  bool branch = false;
  bool default_branch = false;
  std::string_view name;
  // The numbers as written: runs of digits with '.' between them (and ':'
  // or '-' in a date), or x, X or * in a numbered branch (`wildcards`),
  // which reads them and the missing ones as 9999999. A release of one to
  // four numbers (`padded`) has the missing ones read as 0.
  std::string_view release;
  bool padded = false;
  bool wildcards = false;
  Stability stability = Stability::stable;
  std::string_view stability_numbers;  // after the word, as written ("1.2", "-1")
  bool dev = false;
};

// Reads a version as Composer's VersionParser::normalize does (surrounding
// blanks, a 'v', build metadata and an "@stability" flag dropped), except
// an alias ("1.0 as 2.0"), which is no version.
std::expected<Parts, ParseError> read(std::string_view text);

// The stability a modifier names (its separator, word and numbers, "-dev"),
// when `text` is one whole.
struct Modifier {
  bool word = false;  // whether it names a stability
  Stability stability = Stability::stable;
  std::string_view numbers;
  bool dev = false;
};
std::optional<Modifier> modifier(std::string_view text) noexcept;

constexpr char lower(char c) noexcept {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}
constexpr bool starts_without_case(std::string_view s, std::string_view word) noexcept {
  if (s.size() < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i)
    if (lower(s[i]) != word[i]) return false;
  return true;
}
constexpr bool equals_without_case(std::string_view s, std::string_view word) noexcept {
  return s.size() == word.size() && starts_without_case(s, word);
}

// Composer's normal form: "1.2.0.0-beta1-dev", "2010.01.02", "dev-NAME".
std::string normalized(const Parts& v);

// The order key of a version, and the bound `op v` of a range with it.
void append_key(std::string& out, const Parts& v);
KeyBound bound(RangeOp op, const Parts& v);

// Composer's constraints (composer_range.cpp).
Read read_range(grammar::RangeText& in, const Order& order, KeyRange& out);

}  // namespace tolva::scheme::detail::composer
