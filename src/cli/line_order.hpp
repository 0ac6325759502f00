#pragma once

#include <atomic>
#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <string_view>

#include "command_line.hpp"
#include "output.hpp"
#include "tolva/grammar/parse_error.hpp"
#include "tolva/scheme/scheme.hpp"
#include "tolva/scheme/version_range.hpp"
#include "tolva/values/part_order.hpp"
#include "tolva/values/range_keys.hpp"

namespace tolva::cli {

// How a command reads and orders its lines: the invocation's scheme, and
// under tolva's own its kind and part order. Every command that orders does
// so by the lines' order keys.
class LineOrder {
 public:
  explicit LineOrder(const Invocation& invocation) noexcept;
  LineOrder(const LineOrder& other) noexcept
      : scheme_(other.scheme_),
        kind_(other.kind_),
        parts_(other.parts_),
        kinds_(other.kinds_.load(std::memory_order_relaxed)) {}
  LineOrder& operator=(const LineOrder&) = delete;

  Scheme scheme() const noexcept { return scheme_; }
  // Whether the text reads; nothing of it is built.
  std::expected<void, grammar::ParseError> check(std::string_view text) const;
  // Appends the text's order key; `out` is left as it was for a text that
  // does not read.
  std::expected<void, grammar::ParseError> append_key(std::string& out,
                                                      std::string_view text) const;
  // The most bytes append_key appends for a text of `size` bytes.
  std::size_t key_size_bound(std::size_t size) const noexcept;

  // Under tolva's scheme, notes the kind of an accepted line (its rank, the
  // first byte of its key), to tell once of lines of more than one kind; any
  // thread may call it.
  void note_kind(unsigned char rank) const noexcept {
    if (scheme_ != Scheme::tolva) return;
    const auto bit = static_cast<std::uint8_t>(1u << (rank & 7u));
    if ((kinds_.load(std::memory_order_relaxed) & bit) == 0) {
      kinds_.fetch_or(bit, std::memory_order_relaxed);
    }
  }
  // Once the lines are read: the one line that tells of lines of more than
  // one kind under tolva's order, when standard error is a terminal.
  void tell_of_mixed_kinds(Streams& io) const;

 private:
  Scheme scheme_;
  KindChoice kind_;
  PartOrder parts_;
  mutable std::atomic<std::uint8_t> kinds_{0};
};

// The range of filter, newest and oldest, read under the invocation's scheme.
class LineRange {
 public:
  // The range, or nothing once a range that does not read has been explained
  // on standard error as a usage error.
  static std::optional<LineRange> read(const Invocation& invocation, bool colour, Streams& io);

  // Whether the version of this order key, made by the invocation's
  // LineOrder, lies within.
  bool holds(std::string_view key) const noexcept;
  // The same, for a range that must see the line too (a vers range whose
  // type holds pre-releases back).
  bool holds(std::string_view key, std::string_view line) const noexcept;

 private:
  std::optional<KeyedRange> own_;  // tolva's scheme
  scheme::SchemeRange range_;      // every other
  std::optional<VersionRange> vers_;
};

}  // namespace tolva::cli
