#include "sort_prefix.hpp"

#include <bit>
#include <string_view>
#include <variant>

namespace tolva::cli {
namespace {

class PrefixWriter {
 public:
  bool full() const noexcept { return used_ == 16; }
  bool whole() const noexcept { return prefix_.whole; }

  void put(std::uint8_t byte) noexcept {
    if (full()) {
      prefix_.whole = false;
      return;
    }
    std::uint64_t& word = used_ < 8 ? prefix_.high : prefix_.low;
    word |= std::uint64_t{byte} << (8 * (7 - used_ % 8));
    ++used_;
  }

  void put(std::string_view text) noexcept {
    for (char c : text) {
      put(static_cast<std::uint8_t>(c));
      if (!prefix_.whole) return;
    }
  }

  // Small numbers take one byte; a longer form starts above every short one,
  // and more bytes make a larger number.
  void put_number(std::uint32_t n) noexcept {
    if (n < 0xF0) return put(static_cast<std::uint8_t>(n));
    int bytes = (std::bit_width(n) + 7) / 8;
    put(static_cast<std::uint8_t>(0xF0 + bytes));
    for (int i = bytes - 1; i >= 0; --i) put(static_cast<std::uint8_t>(n >> (8 * i)));
  }

  SortPrefix prefix() const noexcept { return prefix_; }

 private:
  SortPrefix prefix_;
  int used_ = 0;
};

void write(PrefixWriter& w, const SemVer& v) noexcept {
  w.put_number(v.major);
  w.put_number(v.minor);
  w.put_number(v.patch);
  // A release orders after all of its release candidates.
  const OptionalTextSpan rc = v.rc();
  if (!rc) return w.put(0xFF);
  for (std::size_t i = 0; i < rc->size() && w.whole(); ++i) {
    w.put(0x01);
    w.put((*rc)[i]);
  }
}

void write(PrefixWriter& w, const DotSeparated& v) noexcept {
  for (std::size_t i = 0; i < v.parts.size() && w.whole(); ++i) {
    if (i > 0) w.put(0x00);
    w.put(v.parts[i]);
  }
}

void write(PrefixWriter& w, const Other& v) noexcept { w.put(v.value); }

}  // namespace

SortPrefix sort_prefix(const Version& v) noexcept {
  PrefixWriter w;
  w.put(static_cast<std::uint8_t>(v.value.index()));
  if (const auto* semver = std::get_if<SemVer>(&v.value)) write(w, *semver);
  else if (const auto* dotted = std::get_if<DotSeparated>(&v.value)) write(w, *dotted);
  else if (const auto* other = std::get_if<Other>(&v.value)) write(w, *other);
  return w.prefix();
}

}  // namespace tolva::cli
