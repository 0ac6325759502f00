#pragma once

#include <cxxabi.h>

#include <version>

namespace tolva::binding {

// What a catch clause sees of the forced unwind that ends a thread (see
// guarded.hpp). libstdc++'s runtime enters catch clauses with it, so they
// must let it pass; libc++abi runs only cleanups then, so no clause meets it
// and the stand-in type is never thrown.
#if defined(_LIBCPP_VERSION)
struct ForcedUnwind {};
#else
using ForcedUnwind = abi::__forced_unwind;
#endif

}  // namespace tolva::binding
