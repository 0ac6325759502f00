#pragma once

#include <memory>
#include <string>
#include <vector>

namespace tolva {

// Parts are always texts, never numbers.
using TextList = std::vector<std::string>;

// A list of texts that may be absent. Absent costs one null pointer, which keeps
// a SemVer without pre-release or build parts free of heap memory. Absent and
// present-but-empty are different states. Copies are deep.
class OptionalTextList {
 public:
  OptionalTextList() noexcept = default;
  explicit OptionalTextList(TextList list)
      : list_(std::make_unique<TextList>(std::move(list))) {}

  OptionalTextList(const OptionalTextList& other)
      : list_(other.list_ ? std::make_unique<TextList>(*other.list_) : nullptr) {}
  OptionalTextList& operator=(const OptionalTextList& other) {
    if (this != &other) *this = OptionalTextList(other);
    return *this;
  }
  OptionalTextList(OptionalTextList&&) noexcept = default;
  OptionalTextList& operator=(OptionalTextList&&) noexcept = default;

  bool has_value() const noexcept { return list_ != nullptr; }
  explicit operator bool() const noexcept { return has_value(); }

  // Precondition: has_value().
  const TextList& operator*() const noexcept { return *list_; }
  TextList& operator*() noexcept { return *list_; }
  const TextList* operator->() const noexcept { return list_.get(); }
  TextList* operator->() noexcept { return list_.get(); }

  void reset() noexcept { list_.reset(); }

 private:
  std::unique_ptr<TextList> list_;
};

}  // namespace tolva
