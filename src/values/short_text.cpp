#include "tolva/values/short_text.hpp"

#include <cstring>

namespace tolva {

void ShortText::assign(std::string_view text) {
  if (text.size() <= inline_capacity) {
    if (!text.empty()) std::memcpy(bytes_, text.data(), text.size());
    set_inline_size(text.size());
    return;
  }
  char* block = new char[text.size()];
  std::memcpy(block, text.data(), text.size());
  const Heap h{block, text.size()};
  std::memcpy(bytes_, &h, sizeof h);
  bytes_[inline_capacity] = static_cast<char>(heap_tag);
}

void ShortText::free_heap() noexcept { delete[] heap().data; }

}  // namespace tolva
