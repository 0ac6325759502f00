#pragma once

#include "binding/py_ref.hpp"

#include <exception>
#include <new>
#include <type_traits>
#include <utility>

#include "binding/errors.hpp"
#include "binding/forced_unwind.hpp"

namespace tolva::binding {

// The one place where C++ exceptions stop: runs the body of an entry point
// from the interpreter so that none reaches it. bad_alloc becomes MemoryError,
// anything else the internal-failure exception, and the entry then returns
// `failure`. Code run by the body raises nothing of its own making.
//
// One unwind passes: the interpreter ends a thread that takes its lock back
// while it shuts down (a daemon thread at exit) with a forced unwind up to the
// thread's start. Stopping it aborts the process, and so does a noexcept
// frame on its way, so neither this guard nor the entry is noexcept.
template <class R, class F>
R guarded(R failure, F&& body) {
  try {
    return std::forward<F>(body)();
  } catch (const std::bad_alloc&) {
    PyErr_NoMemory();
  } catch (const std::exception& e) {
    raise_internal(e.what());
  } catch (...) {
    if (unwinding_foreign_exception()) throw;
    raise_internal("unknown C++ exception");
  }
  return failure;
}

// How an entry point of each result type reports a failure to the interpreter.
template <class R>
constexpr R failure_result() noexcept {
  if constexpr (std::is_pointer_v<R>) {
    return nullptr;
  } else {
    return -1;
  }
}

template <auto F>
struct Entry;
template <class R, class... Args, R (*F)(Args...)>
struct Entry<F> {
  static R call(Args... args) {
    return guarded(failure_result<R>(), [&] { return F(args...); });
  }
};

// `body` wrapped in the guard, as a function the interpreter can call.
template <auto body>
inline constexpr auto entry = &Entry<body>::call;

// The same, typed as the interpreter's slot tables want it.
template <auto body>
void* slot() noexcept {
  return reinterpret_cast<void*>(entry<body>);
}

}  // namespace tolva::binding
