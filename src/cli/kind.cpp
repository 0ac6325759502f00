#include "kind.hpp"

#include <array>
#include <utility>
#include <variant>

#include "tolva/report/parsers.hpp"

namespace tolva::cli {
namespace {

constexpr std::array<std::pair<std::string_view, Kind>, 4> names{{
    {"version", Kind::version},
    {"semver", Kind::semver},
    {"dot-separated", Kind::dot_separated},
    {"other", Kind::other},
}};

template <class T>
std::expected<Version, Error> wrapped(std::expected<T, Error>&& parsed) {
  if (!parsed) return std::unexpected(std::move(parsed.error()));
  return Version{std::move(*parsed)};
}

}  // namespace

std::string_view kind_name(Kind kind) noexcept {
  for (const auto& [text, k] : names) {
    if (k == kind) return text;
  }
  return {};
}

std::expected<Version, Error> parse_as(Kind kind, std::string_view text,
                                       const report::ReportStyle& style) {
  switch (kind) {
    case Kind::semver:
      return wrapped(parse_semver(text, style));
    case Kind::dot_separated:
      return wrapped(parse_dot_separated(text, style));
    case Kind::other:
      return wrapped(parse_other(text, style));
    case Kind::version:
      break;
  }
  return parse_version(text, style);
}

void append_debug_form_as(std::string& out, Kind kind, const Version& v) {
  if (kind == Kind::version) {
    append_debug_form(out, v);
  } else {
    std::visit([&](const auto& held) { append_debug_form(out, held); }, v.value);
  }
}

}  // namespace tolva::cli
