#include <array>

#include "row.hpp"
#include "semver.hpp"

// Go module versions, as golang.org/x/mod/semver reads and orders them: 'v'
// and a SemVer 2.0.0 text, or the shorthands "v1" and "v1.2" for v1.0.0 and
// v1.2.0 (which take no pre-release or build metadata). Build metadata,
// +incompatible among it, does not order; a pseudo-version
// (v0.0.0-20191109021931-daa7c04131f5) is a pre-release and orders as one.
// The key is the semver scheme's. Ranges are comparators alone, which hold
// pre-releases like any other version.
namespace tolva::scheme::detail {
namespace {

using P = grammar::ExpectedPattern;

constexpr std::string_view zero = "0";

// The number at `at`: "0" or digits that do not start with '0'; empty when
// no digit stands there.
std::string_view number_at(std::string_view text, std::size_t at) noexcept {
  if (at >= text.size() || !key_bytes::is_digit(text[at])) return {};
  std::size_t end = at + 1;
  if (text[at] != '0')
    while (end < text.size() && key_bytes::is_digit(text[end])) ++end;
  return text.substr(at, end - at);
}

// Where a shorthand's number is followed by neither '.' nor the end.
std::unexpected<ParseError> shorthand_failure(std::string_view text, std::size_t at,
                                              std::string_view number) {
  if (number == "0")
    return std::unexpected(grammar::failure_at(text, at, {P::TokenDot, P::EndOfInput}));
  return std::unexpected(grammar::failure_at(text, at, {P::Digit, P::TokenDot, P::EndOfInput}));
}

std::expected<semver::Parts, ParseError> read(std::string_view text) {
  if (text.empty() || text[0] != 'v')
    return std::unexpected(grammar::failure_at(text, 0, {P::TokenV}));
  const std::string_view major = number_at(text, 1);
  const std::size_t dot = 1 + major.size();
  if (!major.empty() && dot == text.size()) return semver::Parts{major, zero, zero, {}, {}};
  if (!major.empty() && text[dot] != '.') return shorthand_failure(text, dot, major);
  const std::string_view minor = major.empty() ? major : number_at(text, dot + 1);
  const std::size_t second = dot + 1 + minor.size();
  if (!minor.empty() && second == text.size()) return semver::Parts{major, minor, zero, {}, {}};
  if (!minor.empty() && text[second] != '.') return shorthand_failure(text, second, minor);
  auto parts = semver::read(text.substr(1));
  if (!parts) return std::unexpected(grammar::moved_into(std::move(parts.error()), text, 1));
  return parts;
}

Keyed append_key(std::string& out, std::string_view text, const Order&) {
  auto parts = read(text);
  if (!parts) return std::unexpected(std::move(parts.error()));
  semver::append_key(out, *parts);
  return KeyFacts{};
}

// A key takes at most the semver scheme's bound, with the shorthand's zeros.
std::size_t key_size_bound(std::size_t size, const Order& order) noexcept {
  return row(Scheme::semver).key_size_bound(size + 4, order);
}

std::expected<std::vector<Field>, ParseError> fields(std::string_view text, const Order&) {
  auto v = read(text);
  if (!v) return std::unexpected(std::move(v.error()));
  return std::vector<Field>{number_field("major", v->major), number_field("minor", v->minor),
                            number_field("patch", v->patch),
                            list_field("prerelease", v->prerelease, '.'),
                            list_field("build", v->build, '.')};
}

using RO = grammar::RangeOperator;
constexpr std::array<RO, 6> operators{RO::less,          RO::less_equal, RO::greater,
                                      RO::greater_equal, RO::equal,      RO::not_equal};

Read read_range(grammar::RangeText& in, const Order& order, KeyRange& out) {
  return comparators_range(in, order, {operators, true}, out);
}

}  // namespace

constinit const Row golang_row =
    row_of<read, semver::compare>(Scheme::golang, append_key, key_size_bound, fields, read_range);

}  // namespace tolva::scheme::detail
