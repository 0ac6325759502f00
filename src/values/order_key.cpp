#include "tolva/values/order_key.hpp"

#include <string>
#include <type_traits>
#include <variant>

#include "order_key_writer.hpp"

namespace tolva {
namespace {

using namespace values_detail;

using Kinds = decltype(Version::value);
static_assert(std::is_same_v<std::variant_alternative_t<0, Kinds>, SemVer> &&
              std::is_same_v<std::variant_alternative_t<1, Kinds>, DotSeparated> &&
              std::is_same_v<std::variant_alternative_t<2, Kinds>, Other>);

template <PartOrder P = PartOrder::text, class Key>
void put_value(Key& key, const SemVer& v) {
  put_semver<P>(key, v.major, v.minor, v.patch, v.rc());
}

template <PartOrder P = PartOrder::text, class Key>
void put_value(Key& key, const DotSeparated& v) {
  put_dot_separated<P>(key, TextSpan(v.parts));
}

template <PartOrder P = PartOrder::text, class Key>
void put_value(Key& key, const Other& v) {
  put_other(key, v.value);
}

template <PartOrder P = PartOrder::text, class Key>
void put_value(Key& key, const Version& v) {
  v.visit([&](const auto& held) { put_value<P>(key, held); });
}

template <class Key, class Value>
void put_value(Key& key, const Value& v, PartOrder parts) {
  if (parts == PartOrder::numeric) return put_value<PartOrder::numeric>(key, v);
  put_value(key, v);
}

}  // namespace

template <VersionValue V>
void append_order_key(std::string& out, const V& v, PartOrder parts) {
  WholeKey key(out);
  put_value(key, v, parts);
}

template <VersionValue V>
bool write_order_key_prefix(std::span<std::uint8_t> out, const V& v, PartOrder parts) noexcept {
  KeyPrefix key(out);
  put_value(key, v, parts);
  return key.finish();
}

#define TOLVA_ORDER_KEY_FOR(V)                                          \
  template void append_order_key<V>(std::string&, const V&, PartOrder); \
  template bool write_order_key_prefix<V>(std::span<std::uint8_t>, const V&, PartOrder) noexcept;
TOLVA_ORDER_KEY_FOR(Version)
TOLVA_ORDER_KEY_FOR(SemVer)
TOLVA_ORDER_KEY_FOR(DotSeparated)
TOLVA_ORDER_KEY_FOR(Other)
#undef TOLVA_ORDER_KEY_FOR

}  // namespace tolva
