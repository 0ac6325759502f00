#pragma once

#include "binding/py_ref.hpp"

#include <exception>
#include <new>
#include <utility>

#include "binding/errors.hpp"

namespace tolva::binding {

// Runs a slot body so that no C++ exception reaches the interpreter: bad_alloc
// becomes MemoryError, anything else the internal-failure exception, and the
// slot then returns `failure`.
template <class R, class F>
R guarded(R failure, F&& body) noexcept {
  try {
    return std::forward<F>(body)();
  } catch (const std::bad_alloc&) {
    PyErr_NoMemory();
  } catch (const std::exception& e) {
    raise_internal(e.what());
  } catch (...) {
    raise_internal("unknown C++ exception");
  }
  return failure;
}

}  // namespace tolva::binding
