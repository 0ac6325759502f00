#include "records.hpp"

#include <algorithm>
#include <bit>
#include <cstring>

namespace tolva::cli::sort {
namespace {

// A record's header: the key's length, then the line's, each of 64 bits (a
// key can pass 4 GiB: a line of bytes that the key escapes doubles).
constexpr std::size_t header_size = 2 * sizeof(std::uint64_t);

constexpr std::size_t prefix_size = 16;

std::uint64_t big_endian(const unsigned char* bytes) noexcept {
  std::uint64_t n;
  std::memcpy(&n, bytes, sizeof n);
  if constexpr (std::endian::native == std::endian::little) n = std::byteswap(n);
  return n;
}

}  // namespace

int compare_keys(std::string_view a, std::string_view b) noexcept {
  int order = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
  if (order != 0) return order;
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

std::size_t RecordBlock::begin_record(std::size_t size) {
  const std::size_t offset = bytes_.size();
  bytes_.reserve(offset + header_size + size);
  bytes_.append(header_size, '\0');
  return offset;
}

void RecordBlock::end_record(std::size_t offset, std::string_view line) {
  const std::size_t key_start = offset + header_size;
  const std::size_t key_length = bytes_.size() - key_start;
  auto key_size = std::uint64_t{key_length};
  std::uint64_t line_size = line.size();
  char* at = bytes_.data() + offset;
  std::memcpy(at, &key_size, sizeof key_size);
  std::memcpy(at + sizeof key_size, &line_size, sizeof line_size);
  // The first sixteen bytes, zero bytes after a shorter key. No key continues
  // another with a zero byte, so of equal prefixes a key that goes on past
  // them is the greater, and two that do not are equal.
  unsigned char prefix[prefix_size] = {};
  std::memcpy(prefix, bytes_.data() + key_start, std::min(key_length, prefix_size));
  bytes_.append(line);
  handles_.push_back(Handle{big_endian(prefix), big_endian(prefix + 8),
                            offset << 1 | (key_length > prefix_size ? 1 : 0)});
}

void RecordBlock::reserve(std::size_t bytes, std::size_t records) {
  bytes_.reserve(bytes_.size() + bytes + records * header_size);
  handles_.reserve(handles_.size() + records);
}

Record RecordBlock::operator[](std::size_t i) const noexcept {
  const char* at = bytes_.data() + (handles_[i].place >> 1);
  std::uint64_t key_size;
  std::uint64_t line_size;
  std::memcpy(&key_size, at, sizeof key_size);
  std::memcpy(&line_size, at + sizeof key_size, sizeof line_size);
  return Record{{at + header_size, key_size}, {at + header_size + key_size, line_size}};
}

std::size_t RecordBlock::memory() const noexcept {
  return bytes_.capacity() + handles_.capacity() * sizeof(Handle);
}

void RecordBlock::sort(bool reverse) {
  auto key_at = [&](const Handle& h) {
    const char* at = bytes_.data() + (h.place >> 1);
    std::uint64_t key_size;
    std::memcpy(&key_size, at, sizeof key_size);
    return std::string_view(at + header_size, key_size);
  };
  // Offsets grow in input order, so they settle ties stably.
  auto order = [&](const Handle& a, const Handle& b) {
    int by_key = a.high < b.high ? -1 : a.high > b.high ? 1 : 0;
    if (by_key == 0) by_key = a.low < b.low ? -1 : a.low > b.low ? 1 : 0;
    if (by_key == 0) {
      // A key that goes on past equal prefixes is the greater one.
      int long_a = static_cast<int>(a.place & 1);
      int long_b = static_cast<int>(b.place & 1);
      by_key = long_a & long_b ? compare_keys(key_at(a), key_at(b)) : long_a - long_b;
    }
    if (by_key != 0) return reverse ? by_key > 0 : by_key < 0;
    return a.place < b.place;
  };
  std::sort(handles_.begin(), handles_.end(), order);
}

}  // namespace tolva::cli::sort
