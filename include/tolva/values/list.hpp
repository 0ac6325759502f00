#pragma once

#include <compare>
#include <cstddef>
#include <initializer_list>
#include <new>
#include <utility>

namespace tolva {
namespace values::detail {

// The list's heap blocks, out of line: inlined, g++ 12 mistakes a block freed
// inside a std::expected for the expected's own storage.
[[nodiscard]] void* allocate_block(std::size_t bytes);
void free_block(void* block) noexcept;

}  // namespace values::detail

// A growable list in one heap block: the few operations the values, their
// errors and ranges need of std::vector, without its header's weight in
// every file that includes a value. Elements must move without throwing.
// Copies are deep; a copy that throws leaves nothing behind.
template <class T>
class List {
  static_assert(noexcept(T(std::declval<T&&>())), "elements must move without throwing");
  static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);

 public:
  using value_type = T;
  using iterator = T*;
  using const_iterator = const T*;

  List() noexcept = default;
  explicit List(std::size_t count) {
    reserve(count);
    while (size_ < count) emplace_back();
  }
  List(std::initializer_list<T> items) : List(items.begin(), items.end()) {}
  template <class It>
  List(It first, It last) {
    assign(first, last);
  }
  List(const List& other) : List(other.begin(), other.end()) {}
  List(List&& other) noexcept
      : data_(std::exchange(other.data_, nullptr)),
        size_(std::exchange(other.size_, 0)),
        capacity_(std::exchange(other.capacity_, 0)) {}
  List& operator=(const List& other) {
    if (this != &other) *this = List(other);
    return *this;
  }
  List& operator=(List&& other) noexcept {
    if (this != &other) {
      release();
      data_ = std::exchange(other.data_, nullptr);
      size_ = std::exchange(other.size_, 0);
      capacity_ = std::exchange(other.capacity_, 0);
    }
    return *this;
  }
  ~List() { release(); }

  [[nodiscard]] std::size_t size() const noexcept { return size_; }
  [[nodiscard]] bool empty() const noexcept { return size_ == 0; }
  [[nodiscard]] std::size_t capacity() const noexcept { return capacity_; }
  [[nodiscard]] T* data() noexcept { return data_; }
  [[nodiscard]] const T* data() const noexcept { return data_; }
  [[nodiscard]] T* begin() noexcept { return data_; }
  [[nodiscard]] T* end() noexcept { return data_ + size_; }
  [[nodiscard]] const T* begin() const noexcept { return data_; }
  [[nodiscard]] const T* end() const noexcept { return data_ + size_; }
  [[nodiscard]] T& operator[](std::size_t i) noexcept { return data_[i]; }
  [[nodiscard]] const T& operator[](std::size_t i) const noexcept { return data_[i]; }
  [[nodiscard]] T& front() noexcept { return data_[0]; }
  [[nodiscard]] const T& front() const noexcept { return data_[0]; }
  [[nodiscard]] T& back() noexcept { return data_[size_ - 1]; }
  [[nodiscard]] const T& back() const noexcept { return data_[size_ - 1]; }

  void reserve(std::size_t wanted) {
    if (wanted > capacity_) move_to(wanted);
  }
  template <class... Args>
  T& emplace_back(Args&&... args) {
    if (size_ == capacity_) {
      // Made before the block moves: `args` may refer into it.
      T made(std::forward<Args>(args)...);
      move_to(capacity_ < 4 ? 4 : 2 * capacity_);
      return *new (data_ + size_++) T(std::move(made));
    }
    T* made = new (data_ + size_) T(std::forward<Args>(args)...);
    ++size_;
    return *made;
  }
  void push_back(const T& item) { emplace_back(item); }
  void push_back(T&& item) { emplace_back(std::move(item)); }
  void clear() noexcept {
    for (T& item : *this) item.~T();
    size_ = 0;
  }
  // Replaces the items with copies of [first, last).
  template <class It>
  void assign(It first, It last) {
    List made;
    made.reserve(static_cast<std::size_t>(last - first));
    for (; first != last; ++first) made.emplace_back(*first);
    *this = std::move(made);
  }

  friend bool operator==(const List& a, const List& b) noexcept(noexcept(a[0] == b[0])) {
    if (a.size_ != b.size_) return false;
    for (std::size_t i = 0; i < a.size_; ++i)
      if (!(a[i] == b[i])) return false;
    return true;
  }

 private:
  void move_to(std::size_t capacity) {
    T* fresh = static_cast<T*>(values::detail::allocate_block(capacity * sizeof(T)));
    for (std::size_t i = 0; i < size_; ++i) {
      new (fresh + i) T(std::move(data_[i]));
      data_[i].~T();
    }
    values::detail::free_block(data_);
    data_ = fresh;
    capacity_ = capacity;
  }
  void release() noexcept {
    clear();
    values::detail::free_block(data_);
    data_ = nullptr;
    capacity_ = 0;
  }

  T* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace tolva
