#pragma once

#include "binding/py_ref.hpp"

#include <utility>

#include "binding/forced_unwind.hpp"

namespace tolva::binding {

// The interpreter lock as this thread has given it up. It is taken back only
// on the thread state saved when it was given up, never on a new one: while
// the interpreter shuts down, the interpreter ends a thread that takes its
// lock back (a daemon thread at exit) with pthread_exit, a forced unwind, and
// a thread state made then would be made in an interpreter being deleted.
// After such an unwind the lock must not be taken again, which would end the
// thread a second time in the middle of the first unwind and abort.
class ReleasedLock {
 public:
  ReleasedLock() : state_(PyEval_SaveThread()) {}
  ReleasedLock(const ReleasedLock&) = delete;
  ReleasedLock& operator=(const ReleasedLock&) = delete;

  void take_back() { PyEval_RestoreThread(state_); }

  // Runs `body` with the lock held and gives the lock up again, however the
  // body ends but by a forced unwind.
  template <class F>
  auto with_lock(F&& body) {
    take_back();
    try {
      auto result = std::forward<F>(body)();
      give_up();
      return result;
    } catch (...) {
      if (!unwinding_foreign_exception()) give_up();
      throw;
    }
  }

 private:
  void give_up() { state_ = PyEval_SaveThread(); }

  PyThreadState* state_;
};

// Runs `body(lock)` without the interpreter lock, so a blocking wait does not
// stall the other Python threads, and takes the lock back however the body
// ends but by a forced unwind.
template <class F>
decltype(auto) without_interpreter_lock(F&& body) {
  ReleasedLock lock;
  try {
    decltype(auto) result = std::forward<F>(body)(lock);
    lock.take_back();
    return result;
  } catch (...) {
    if (!unwinding_foreign_exception()) lock.take_back();
    throw;
  }
}

}  // namespace tolva::binding
