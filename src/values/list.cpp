#include "tolva/values/list.hpp"

namespace tolva::values::detail {

void* allocate_block(std::size_t bytes) { return ::operator new(bytes); }

void free_block(void* block) noexcept { ::operator delete(block); }

}  // namespace tolva::values::detail
