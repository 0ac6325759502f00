#include "kind.hpp"

#include <utility>

namespace tolva::cli {

std::expected<Version, ParseError> read_as(KindChoice kind, std::string_view text) {
  return with_kind(kind, [text]<class K>(std::type_identity<K>) {
    std::expected<K, ParseError> read = parse_as<K>(text);
    if (!read) return std::expected<Version, ParseError>(std::unexpect, std::move(read.error()));
    return std::expected<Version, ParseError>(Version{std::move(*read)});
  });
}

std::expected<void, ParseError> check_as(KindChoice kind, std::string_view text) {
  return with_kind(kind,
                   [text]<class K>(std::type_identity<K>) { return tolva::check_as<K>(text); });
}

std::expected<void, ParseError> append_key_as(std::string& out, KindChoice kind,
                                              std::string_view text, PartOrder parts) {
  return with_kind(kind, [&]<class K>(std::type_identity<K>) {
    return append_order_key_as<K>(out, text, parts);
  });
}

void append_debug_form_as(std::string& out, KindChoice kind, const Version& v) {
  if (kind == KindChoice::version) {
    append_debug_form(out, v);
  } else {
    v.visit([&](const auto& held) { append_debug_form(out, held); });
  }
}

}  // namespace tolva::cli
