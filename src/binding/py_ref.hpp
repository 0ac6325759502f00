#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <utility>

namespace tolva::binding {

// An owned (strong) reference to a Python object, or null.
class PyRef {
 public:
  PyRef() noexcept = default;
  // Takes over a reference the caller owns (a "new reference").
  static PyRef steal(PyObject* obj) noexcept {
    PyRef ref;
    ref.obj_ = obj;
    return ref;
  }
  // Adds a reference of its own to a borrowed object.
  static PyRef borrow(PyObject* obj) noexcept {
    Py_XINCREF(obj);
    return steal(obj);
  }

  PyRef(const PyRef& other) noexcept : obj_(other.obj_) { Py_XINCREF(obj_); }
  PyRef(PyRef&& other) noexcept : obj_(std::exchange(other.obj_, nullptr)) {}
  // By value: the new reference is taken before the old one is dropped, so
  // self-assignment and destructors that run Python code are safe.
  PyRef& operator=(PyRef other) noexcept {
    std::swap(obj_, other.obj_);
    return *this;
  }
  // Dropping the last reference may run a finalizer, whose Python code may
  // take the interpreter lock back and so end a daemon thread at exit by a
  // forced unwind: not noexcept, so that unwind passes.
  ~PyRef() noexcept(false) { Py_XDECREF(obj_); }

  PyObject* get() const noexcept { return obj_; }
  // Hands the reference to the caller; this becomes null.
  PyObject* release() noexcept { return std::exchange(obj_, nullptr); }
  explicit operator bool() const noexcept { return obj_ != nullptr; }

 private:
  PyObject* obj_ = nullptr;
};

}  // namespace tolva::binding
