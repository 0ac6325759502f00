#pragma once

#include "binding/py_ref.hpp"

#include <utility>

#include "binding/forced_unwind.hpp"

namespace tolva::binding {

// Runs `body` without the interpreter lock, so a blocking wait does not stall
// the other Python threads, and takes the lock back however the body ends but
// one: a forced unwind. The interpreter ends a thread that takes its lock back
// while it shuts down (a daemon thread at exit) with pthread_exit; when that
// happens inside the body, the lock must not be taken again, which would end
// the thread a second time in the middle of the first unwind and abort.
template <class F>
decltype(auto) without_interpreter_lock(F&& body) {
  PyThreadState* state = PyEval_SaveThread();
  try {
    decltype(auto) result = std::forward<F>(body)();
    PyEval_RestoreThread(state);
    return result;
  } catch (const ForcedUnwind&) {
    throw;
  } catch (...) {
    PyEval_RestoreThread(state);
    throw;
  }
}

}  // namespace tolva::binding
