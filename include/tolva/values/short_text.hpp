#pragma once

#include <compare>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace tolva {

// A UTF-8 text in 24 bytes, replaced whole rather than edited: up to 23 bytes
// are held in place, a longer text in one heap block of exactly its size. Most
// parts and names are short, so most never allocate. Copies are deep.
class ShortText {
 public:
  static constexpr std::size_t inline_capacity = 23;

  ShortText() noexcept { set_inline_size(0); }
  ShortText(std::string_view text) { assign(text); }
  ShortText(const char* text) : ShortText(std::string_view(text)) {}
  // A std::string, without this header needing <string>.
  template <std::convertible_to<std::string_view> S>
  ShortText(const S& text) : ShortText(std::string_view(text)) {}

  ShortText(const ShortText& other) : ShortText(other.view()) {}
  ShortText(ShortText&& other) noexcept { steal(other); }
  ShortText& operator=(const ShortText& other) {
    if (this != &other) *this = ShortText(other);
    return *this;
  }
  ShortText& operator=(ShortText&& other) noexcept {
    if (this != &other) {
      release();
      steal(other);
    }
    return *this;
  }
  ~ShortText() { release(); }

  [[nodiscard]] std::size_t size() const noexcept {
    return is_inline() ? inline_size() : heap().size;
  }
  [[nodiscard]] bool empty() const noexcept { return size() == 0; }
  [[nodiscard]] const char* data() const noexcept { return is_inline() ? bytes_ : heap().data; }
  [[nodiscard]] std::string_view view() const noexcept { return {data(), size()}; }
  operator std::string_view() const noexcept { return view(); }

  // Byte by byte as unsigned values; a proper prefix sorts first.
  friend std::strong_ordering operator<=>(const ShortText& a, const ShortText& b) noexcept {
    return a.view() <=> b.view();
  }
  friend bool operator==(const ShortText& a, const ShortText& b) noexcept {
    return a.view() == b.view();
  }
  friend bool operator==(const ShortText& a, std::string_view b) noexcept { return a.view() == b; }
  friend bool operator==(const ShortText& a, const char* b) noexcept {
    return a.view() == std::string_view(b);
  }

 private:
  // The last byte tells the two forms apart: the free room of an in-place
  // text (0 to 23), or `heap_tag` for a heap block, whose pointer and size
  // are kept in the first 16 bytes.
  static constexpr std::uint8_t heap_tag = 0xFF;
  struct Heap {
    char* data;
    std::size_t size;
  };

  std::uint8_t tag() const noexcept { return static_cast<std::uint8_t>(bytes_[inline_capacity]); }
  bool is_inline() const noexcept { return tag() != heap_tag; }
  std::size_t inline_size() const noexcept { return inline_capacity - tag(); }
  void set_inline_size(std::size_t size) noexcept {
    bytes_[inline_capacity] = static_cast<char>(inline_capacity - size);
  }
  Heap heap() const noexcept {
    Heap h;
    std::memcpy(&h, bytes_, sizeof h);
    return h;
  }

  void assign(std::string_view text);
  void steal(ShortText& other) noexcept {
    std::memcpy(bytes_, other.bytes_, sizeof bytes_);
    other.set_inline_size(0);
  }
  void release() noexcept {
    if (!is_inline()) free_heap();
  }
  // Out of line, beside the allocation in assign(): inlined where an
  // expected holding an error is destroyed, the delete[] made g++ 16 follow
  // the value's destructor into the error's bytes and warn of freeing an
  // object not on the heap (-Wfree-nonheap-object).
  void free_heap() noexcept;

  alignas(Heap) char bytes_[inline_capacity + 1];
};

static_assert(sizeof(ShortText) == 24);

}  // namespace tolva
