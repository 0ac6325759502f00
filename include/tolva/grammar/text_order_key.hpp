#pragma once

#include <cstddef>
#include <expected>
#include <iosfwd>
#include <string_view>

#include "tolva/grammar/parse_error.hpp"
#include "tolva/grammar/readers.hpp"
#include "tolva/values/part_order.hpp"

namespace tolva {

// The order key of a text in tolva's order, made straight from the text:
// appends to `out` the bytes that tolva/values/order_key.hpp's
// append_order_key(out, v, parts) appends for the value v that
// parse_as<K>(text) gives, without building that value, or gives the error
// parse_as<K> gives for a text it rejects, leaving `out` as it was. Nothing
// is allocated but the room `out` grows by, reserved at once for the longest
// key a text of this length can have, so a long text costs about its own
// length and is never copied as `out` grows.
//
//   std::string key;
//   if (auto made = tolva::append_order_key_as<tolva::Version>(key, line); !made)
//     std::cerr << tolva::explain(made.error(), line);
template <Parsable K>
[[nodiscard]] std::expected<void, grammar::ParseError> append_order_key_as(
    std::string& out, std::string_view text, PartOrder parts = PartOrder::text);

// The most bytes append_order_key_as appends for a text of `size` bytes in
// part order `parts`: room reserved for that many is never outgrown.
[[nodiscard]] std::size_t order_key_size_bound(std::size_t size, PartOrder parts) noexcept;

extern template std::expected<void, grammar::ParseError> append_order_key_as<SemVer>(
    std::string&, std::string_view, PartOrder);
extern template std::expected<void, grammar::ParseError> append_order_key_as<DotSeparated>(
    std::string&, std::string_view, PartOrder);
extern template std::expected<void, grammar::ParseError> append_order_key_as<Other>(
    std::string&, std::string_view, PartOrder);
extern template std::expected<void, grammar::ParseError> append_order_key_as<Version>(
    std::string&, std::string_view, PartOrder);

}  // namespace tolva
