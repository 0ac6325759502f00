#pragma once

#include "binding/py_ref.hpp"

namespace tolva::binding {

// Releases the interpreter lock for its lifetime, so a blocking wait does not
// stall the other Python threads; the lock is back however the scope is left.
class WithoutInterpreterLock {
 public:
  WithoutInterpreterLock() noexcept : state_(PyEval_SaveThread()) {}
  WithoutInterpreterLock(const WithoutInterpreterLock&) = delete;
  WithoutInterpreterLock& operator=(const WithoutInterpreterLock&) = delete;
  ~WithoutInterpreterLock() { PyEval_RestoreThread(state_); }

 private:
  PyThreadState* state_;
};

}  // namespace tolva::binding
