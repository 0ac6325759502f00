#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "failure_record.hpp"
#include "tolva/grammar/parse_error.hpp"
#include "tolva/values/semver.hpp"
#include "tolva/values/text_list.hpp"

namespace tolva::grammar::detail {

// A cursor over one version text, the furthest-failure record of the parse and
// the rules of the grammar. A rule that matches moves the cursor past what it
// took; one that does not leaves the cursor where it was. Every rule runs in a
// loop over the text, never by recursion, so the stack stays flat.
class Scanner {
 public:
  explicit Scanner(std::string_view text) noexcept : text_(text) {}

  // Back to the start of the text for another alternative; failures stay.
  void rewind() noexcept { pos_ = 0; }

  // Optional 'v', major.minor.patch, optional '-' list, optional '+' list.
  std::optional<SemVer> semver_text();
  // Zero or more parts joined by single dots; always matches.
  TextList dot_list();
  // An identifier-start character and any identifier-continue characters.
  std::optional<std::string_view> identifier() noexcept;
  // True at the end of the text.
  bool end_of_input() noexcept;

  // The one error of a failed parse.
  ParseError error() const { return to_parse_error(text_, record_); }

 private:
  bool at_byte(char c) const noexcept { return pos_ < text_.size() && text_[pos_] == c; }
  bool literal(char c, ExpectedPattern p) noexcept;
  std::optional<std::uint32_t> integer() noexcept;
  bool numbers(SemVer& out) noexcept;
  // End of the run of part characters from `from`; records the test that ended it.
  std::size_t part_end(std::size_t from) noexcept;
  // Byte length of the identifier character at `at`, 0 if there is none.
  std::size_t ident_char(std::size_t at, bool first) const noexcept;

  // Labelled rules keep failures in their own record while they run.
  FailureRecord begin_labelled() noexcept;
  void end_labelled(FailureRecord& enclosing, std::size_t start, ExpectedPattern label) noexcept;

  std::string_view text_;
  std::size_t pos_ = 0;
  FailureRecord record_;
};

}  // namespace tolva::grammar::detail
