#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "comparator_bounds.hpp"
#include "row.hpp"
#include "values/key_bytes.hpp"

// Versions written [epoch:]version[-release], as RPM and pacman write them:
// their parts, the layout of their keys, their fields, and the bounds of a
// comparator, under which a side without a release compares by epoch and
// version alone (RPM's and pacman's dependencies both hold so).
namespace tolva::scheme::detail {

struct EpochRelease {
  std::string_view epoch;  // digits; none: 0
  std::string_view version;
  std::string_view release;
  bool has_release = false;
};

// The key: the epoch (a number), the version as the scheme's put_part writes
// it (ending in a mark of its own, never 0xFF), then no_release, or
// has_release and the release as put_part writes it. A version without a
// release sorts before the same one with any release.
inline constexpr std::uint8_t no_release = 0x00, has_release = 0x01;

template <class Sink, class PutPart>
void put_epoch_release(Sink& out, const EpochRelease& p, PutPart put_part) {
  key_bytes::put_number(out, p.epoch);
  put_part(out, p.version);
  if (!p.has_release) return out.put(no_release);
  out.put(has_release);
  put_part(out, p.release);
}

// A row's append_key for a scheme whose `read` gives the parts and whose
// PutPart{} writes a version or a release in at most twice its bytes.
inline std::size_t epoch_release_key_bound(std::size_t size, const Order&) noexcept {
  return 2 * size + 3;
}
template <auto read, class PutPart>
Keyed append_epoch_release_key(std::string& out, std::string_view text, const Order& order) {
  auto parts = read(text);
  if (!parts) return std::unexpected(parts.error());
  key_bytes::append_key(out, epoch_release_key_bound(text.size(), order),
                        [&](key_bytes::Room& room) { put_epoch_release(room, *parts, PutPart{}); });
  return KeyFacts{};
}

// The order of two versions, `part_order` comparing versions and releases,
// written apart from the key: the epoch, the version, a missing release
// first, the release.
template <auto part_order>
std::weak_ordering compare_epoch_release(const EpochRelease& a, const EpochRelease& b) noexcept {
  if (auto c = key_bytes::compare_numbers(a.epoch, b.epoch); c != 0) return c;
  if (auto c = part_order(a.version, b.version); c != 0) return c;
  if (a.has_release != b.has_release) return a.has_release <=> b.has_release;
  return part_order(a.release, b.release);
}

// Appends the bounds of `op` and the version `p`, read from `text`. Ends
// above every release of a version name no version: none is least there.
template <class PutPart>
void add_release_bounds(grammar::RangeOperator op, const EpochRelease& p, std::string_view text,
                        PutPart put_part, std::vector<KeyBound>& to) {
  std::string versioned;
  key_bytes::WholeKey sink(versioned);
  key_bytes::put_number(sink, p.epoch);
  put_part(sink, p.version);
  const RangeOp test = plain_test(op);
  if (!p.has_release) {
    // Every release of this epoch and version: the keys that begin with
    // `versioned`, the least of which is the version without a release.
    std::string past = past_prefix(versioned);
    if (test == RangeOp::less) to.push_back(bound_at(RangeOp::less, versioned, text));
    if (test == RangeOp::less_equal) to.push_back(bound_at(RangeOp::less, past));
    if (test == RangeOp::greater) to.push_back(bound_at(RangeOp::greater_equal, past));
    if (test == RangeOp::greater_equal)
      to.push_back(bound_at(RangeOp::greater_equal, versioned, text));
    if (test == RangeOp::equal) add_prefix(to, versioned, text);
    if (test == RangeOp::not_equal) {
      KeyBound b = bound_at(RangeOp::outside, versioned, text);
      b.upper = std::move(past);
      to.push_back(std::move(b));
    }
    return;
  }
  // A version without a release (key `bare`) equals the bound when its epoch
  // and version are the bound's: the only key between `bare` and
  // `released` (that epoch and version with any release) is `bare` itself.
  const std::string_view unreleased =
      text.substr(0, static_cast<std::size_t>(p.release.data() - text.data()) - 1);
  std::string bare = versioned + static_cast<char>(no_release);
  std::string released = versioned + static_cast<char>(has_release);
  std::string full;
  key_bytes::WholeKey whole(full);
  put_epoch_release(whole, p, put_part);
  if (test == RangeOp::less || test == RangeOp::not_equal)
    to.push_back(bound_at(RangeOp::not_equal, bare, unreleased));
  if (test == RangeOp::greater_equal || test == RangeOp::equal) {
    to.push_back(bound_at(RangeOp::greater_equal, std::move(bare), unreleased));
    // Below `released` lies only the version without a release.
    KeyBound b = bound_at(RangeOp::outside, std::move(released), unreleased);
    b.upper = full;
    b.upper_text = text;
    to.push_back(std::move(b));
  }
  if (test == RangeOp::equal)
    to.push_back(bound_at(RangeOp::less_equal, std::move(full), text));
  else if (test != RangeOp::greater_equal)
    to.push_back(bound_at(test, std::move(full), text));
}

// The common range syntax over versions that `read` takes apart, each
// operand's bounds as add_release_bounds makes them.
template <auto read, class PutPart>
Read epoch_release_range(grammar::RangeText& in, std::span<const grammar::RangeOperator> operators,
                         bool commas, PutPart put_part, KeyRange& out) {
  auto add = [&](grammar::RangeOperator op, std::string_view operand,
                 std::vector<KeyBound>& to) -> Read {
    auto parts = read(operand);
    if (!parts) return std::unexpected(parts.error());
    add_release_bounds(op, *parts, operand, put_part, to);
    return {};
  };
  return comparator_bounds_range(in, operators, commas, add, out);
}

// epoch (0 when absent), version, release (absent when none).
inline std::vector<Field> epoch_release_fields(const EpochRelease& p) {
  return {number_field("epoch", p.epoch), text_field("version", p.version),
          p.has_release ? text_field("release", p.release)
                        : Field{"release", Field::Form::absent, {}, {}}};
}

}  // namespace tolva::scheme::detail
