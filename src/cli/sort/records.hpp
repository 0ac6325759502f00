#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tolva::cli::sort {

// A line as the sort sees it: its order key and the line itself.
struct Record {
  std::string_view key;
  std::string_view line;
};

// Compares order keys as memcmp does, a proper prefix first: the order of the
// versions they were made from.
int compare_keys(std::string_view a, std::string_view b) noexcept;

// Records in one block of memory: each is a header (key and line lengths),
// the key bytes and the line bytes, in the order they were added, which is
// input order. What the sort moves is a handle: the key's first sixteen
// bytes as two numbers, which decide most comparisons without reading the
// record, and where the record lies.
class RecordBlock {
 public:
  // Adds the record of `line` whose key `append_key(bytes)` appends to the
  // block's bytes, when it returns true; when it returns false, having
  // appended nothing, adds nothing. Room for the line and `key_room` bytes of
  // key is made first, so the key is written in place once and a long
  // line's record is never copied as it is made.
  template <class AppendKey>
  bool add(std::string_view line, std::size_t key_room, AppendKey&& append_key) {
    const std::size_t offset = begin_record(line.size() + key_room);
    if (!append_key(bytes_)) {
      bytes_.resize(offset);
      return false;
    }
    end_record(offset, line);
    return true;
  }
  void reserve(std::size_t bytes, std::size_t records);

  // Orders the records by key (highest first when `reverse`), equal keys in
  // the order they were added.
  void sort(bool reverse);

  std::size_t size() const noexcept { return handles_.size(); }
  Record operator[](std::size_t i) const noexcept;
  // Asks the processor to fetch record `i`, soon to be read.
  void prefetch(std::size_t i) const noexcept {
    __builtin_prefetch(bytes_.data() + (handles_[i].place >> 1));
  }
  // The bytes it holds, counting what it has reserved.
  std::size_t memory() const noexcept;

 private:
  // Makes room for a record of about `size` bytes and puts its header's
  // place; where the record starts.
  std::size_t begin_record(std::size_t size);
  // Writes the header and the line behind the key appended since `offset`.
  void end_record(std::size_t offset, std::string_view line);

  struct Handle {
    std::uint64_t high;
    std::uint64_t low;
    std::uint64_t place;  // the record's offset, times two, plus one for a key past the prefix
  };

  std::string bytes_;
  std::vector<Handle> handles_;
};

}  // namespace tolva::cli::sort
