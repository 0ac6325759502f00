#pragma once

#include <atomic>
#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "command_line.hpp"
#include "output.hpp"
#include "tolva/scheme/order.hpp"
#include "tolva/scheme/version_range.hpp"
#include "values/key_bytes.hpp"

namespace tolva::cli {

// The order the invocation asks for: its scheme, and under tolva's its kind
// and part order.
Order order_of(const Invocation& invocation) noexcept;

// How a command reads and orders its lines: every command that orders does so
// by the lines' order keys.
class LineOrder {
 public:
  explicit LineOrder(const Invocation& invocation) noexcept : order_(order_of(invocation)) {}
  LineOrder(const LineOrder& other) noexcept
      : order_(other.order_), kinds_(other.kinds_.load(std::memory_order_relaxed)) {}
  LineOrder& operator=(const LineOrder&) = delete;

  const Order& order() const noexcept { return order_; }
  // Whether the text reads; nothing of it is built.
  std::expected<void, ParseError> check(std::string_view text) const {
    return scheme::check(text, order_);
  }
  // Appends the text's order key, and tells what ranges need of it; `out` is
  // left as it was for a text that does not read.
  std::expected<KeyFacts, ParseError> append_key(std::string& out, std::string_view text) const;
  // As append_key for a key that counts only if it passes `bar`: nullopt,
  // with `out` as it was, for a text that reads but whose key falls short
  // (found from a prefix of it where the order can tell).
  std::expected<std::optional<KeyFacts>, ParseError> append_key(std::string& out,
                                                                std::string_view text,
                                                                const key_bytes::Bar& bar) const;
  // The most bytes append_key appends for a text of `size` bytes.
  std::size_t key_size_bound(std::size_t size) const noexcept {
    return scheme::order_key_size_bound(size, order_);
  }

  // Once the lines are read: the one line that tells of lines of more than
  // one kind under tolva's order, when standard error is a terminal.
  void tell_of_mixed_kinds(Streams& io) const;

 private:
  Order order_;
  // Under tolva's scheme, the kinds of the lines keyed (bits by rank, the
  // first byte of a key); any thread may add to it.
  mutable std::atomic<std::uint8_t> kinds_{0};
};

// The range of filter, newest and oldest: in the invocation's order's own
// syntax, or a vers text of a scheme's type.
class LineRange {
 public:
  explicit LineRange(KeyRange range) : range_(std::move(range)) {}
  explicit LineRange(VersionRange range) : range_(std::move(range)) {}

  // Whether the version of this order key (and the facts its writer told)
  // lies within.
  bool contains(std::string_view key, KeyFacts facts) const noexcept {
    if (const auto* own = std::get_if<KeyRange>(&range_)) return own->contains(key, facts);
    return std::get<VersionRange>(range_).contains(key, facts.prerelease);
  }
  // Whether the pre-releases it holds count only when it holds nothing else.
  bool prereleases_when_alone() const noexcept {
    const auto* own = std::get_if<KeyRange>(&range_);
    return own != nullptr && own->prereleases_when_alone;
  }

 private:
  std::variant<KeyRange, VersionRange> range_;
};

// The range read under the invocation's order, or nothing once a range that
// does not read has been explained on standard error as a usage error.
std::optional<LineRange> read_line_range(const Invocation& invocation, bool colour, Streams& io);

}  // namespace tolva::cli
