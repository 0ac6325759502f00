#include "tolva/values/order_key.hpp"

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
  std::visit([&](const auto& held) { put_value<P>(key, held); }, v.value);
}

template <class Key>
void put_value(Key& key, const Version& v, PartOrder parts) {
  if (parts == PartOrder::numeric) return put_value<PartOrder::numeric>(key, v);
  put_value(key, v);
}

template <class Value, class... Order>
void append_key(std::string& out, const Value& v, Order... parts) {
  WholeKey key(out);
  put_value(key, v, parts...);
}

template <class Value, class... Order>
std::string whole_key(const Value& v, Order... parts) {
  std::string out;
  append_key(out, v, parts...);
  return out;
}

template <class Value, class... Order>
bool write_prefix(std::span<std::uint8_t> out, const Value& v, Order... parts) noexcept {
  KeyPrefix key(out);
  put_value(key, v, parts...);
  return key.finish();
}

}  // namespace

void append_order_key(std::string& out, const Version& v) { append_key(out, v); }
void append_order_key(std::string& out, const SemVer& v) { append_key(out, v); }
void append_order_key(std::string& out, const DotSeparated& v) { append_key(out, v); }
void append_order_key(std::string& out, const Other& v) { append_key(out, v); }

void append_order_key(std::string& out, const Version& v, PartOrder parts) {
  append_key(out, v, parts);
}

std::string order_key(const Version& v) { return whole_key(v); }
std::string order_key(const SemVer& v) { return whole_key(v); }
std::string order_key(const DotSeparated& v) { return whole_key(v); }
std::string order_key(const Other& v) { return whole_key(v); }
std::string order_key(const Version& v, PartOrder parts) { return whole_key(v, parts); }

bool write_order_key_prefix(std::span<std::uint8_t> out, const Version& v) noexcept {
  return write_prefix(out, v);
}
bool write_order_key_prefix(std::span<std::uint8_t> out, const SemVer& v) noexcept {
  return write_prefix(out, v);
}
bool write_order_key_prefix(std::span<std::uint8_t> out, const DotSeparated& v) noexcept {
  return write_prefix(out, v);
}
bool write_order_key_prefix(std::span<std::uint8_t> out, const Other& v) noexcept {
  return write_prefix(out, v);
}
bool write_order_key_prefix(std::span<std::uint8_t> out, const Version& v,
                            PartOrder parts) noexcept {
  return write_prefix(out, v, parts);
}

}  // namespace tolva
