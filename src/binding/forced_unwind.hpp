#pragma once

#include <exception>

namespace tolva::binding {

// Whether the exception that the enclosing catch (...) clause handles is not
// a C++ one: in practice the forced unwind that ends a thread (see
// guarded.hpp), which such a clause must rethrow. libstdc++'s runtime enters
// catch clauses with it but has no object for it: a clause that names a type
// would bind a reference to null, and std::current_exception() holds no
// exception of another language. libc++abi runs only cleanups in a forced
// unwind, so no clause meets it there.
inline bool unwinding_foreign_exception() noexcept { return std::current_exception() == nullptr; }

}  // namespace tolva::binding
