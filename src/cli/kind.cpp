#include "kind.hpp"

#include <utility>

namespace tolva::cli {
namespace {

template <class K>
std::expected<Version, ParseError> read_wrapped(std::string_view text) {
  std::expected<K, ParseError> read = parse_as<K>(text);
  if (!read) return std::unexpected(std::move(read.error()));
  return Version{std::move(*read)};
}

}  // namespace

std::expected<Version, ParseError> read_as(KindChoice kind, std::string_view text) {
  switch (kind) {
    case KindChoice::semver: return read_wrapped<SemVer>(text);
    case KindChoice::dot_separated: return read_wrapped<DotSeparated>(text);
    case KindChoice::other: return read_wrapped<Other>(text);
    case KindChoice::version: break;
  }
  return parse(text);
}

void append_debug_form_as(std::string& out, KindChoice kind, const Version& v) {
  if (kind == KindChoice::version) {
    append_debug_form(out, v);
  } else {
    v.visit([&](const auto& held) { append_debug_form(out, held); });
  }
}

}  // namespace tolva::cli
