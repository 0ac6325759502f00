#pragma once

#include <cstdint>
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
// input order. What the sort moves is a handle of sixteen bytes: the key's
// first eight bytes as a number, which decides most comparisons alone, and
// where the record lies.
class RecordBlock {
 public:
  void add(std::string_view key, std::string_view line);
  void reserve(std::size_t bytes, std::size_t records);

  // Orders the records by key (highest first when `reverse`), equal keys in
  // the order they were added.
  void sort(bool reverse);

  std::size_t size() const noexcept { return handles_.size(); }
  Record operator[](std::size_t i) const noexcept;
  // The bytes it holds, counting what it has reserved.
  std::size_t memory() const noexcept;

 private:
  struct Handle {
    std::uint64_t prefix;
    std::uint64_t offset;
  };

  std::vector<char> bytes_;
  std::vector<Handle> handles_;
};

}  // namespace tolva::cli::sort
