#pragma once

#include "binding/py_ref.hpp"

#include <string>
#include <string_view>
#include <utility>

#include "binding/convert.hpp"
#include "binding/errors.hpp"
#include "binding/guarded.hpp"

// Slot pieces shared by the typed classes SemVer, DotSeparated and Other.
namespace tolva::binding {

// Creates the class object from `spec` on the first call and keeps it; a failed
// creation is not cached, so a later call tries again. nullptr with an exception set.
PyTypeObject* cached_type(PyTypeObject*& cache, PyType_Spec& spec) noexcept;

// `obj` is an instance of `type` or of a class derived from it. A class that
// could not be created (nullptr, exception set) has no instances: the
// exception is cleared and the answer is false.
bool is_instance_of(PyTypeObject* type, PyObject* obj) noexcept;

// Allocates an instance of `type` (its tp_alloc, or the generic allocation) and
// moves `value` into its `value` member. nullptr with an exception set.
template <class Object, class T>
PyObject* new_typed_object(PyTypeObject* type, T&& value) noexcept {
  allocfunc alloc = type->tp_alloc != nullptr ? type->tp_alloc : PyType_GenericAlloc;
  PyObject* self = alloc(type, 0);
  if (self == nullptr) {
    ensure_error_set();
    return nullptr;
  }
  new (&reinterpret_cast<Object*>(self)->value) T(std::move(value));
  return self;
}

// tp_dealloc of a class whose instances hold one C++ value and no Python references.
template <class Object, class T>
void typed_dealloc(PyObject* self) noexcept {
  PyTypeObject* tp = Py_TYPE(self);
  reinterpret_cast<Object*>(self)->value.~T();
  tp->tp_free(self);
  Py_DECREF(tp);
}

// The stored value of an instance already known to be of the class.
template <class Object>
auto& value_of(PyObject* self) noexcept {
  return reinterpret_cast<Object*>(self)->value;
}

// A Python bool for `op` from the value's own operators, or NotImplemented
// for an operator code outside the six.
template <class T>
PyObject* compare_values(const T& a, const T& b, int op) noexcept {
  bool result = false;
  switch (op) {
    case Py_EQ: result = a == b; break;
    case Py_NE: result = !(a == b); break;
    case Py_LT: result = (a <=> b) < 0; break;
    case Py_LE: result = (a <=> b) <= 0; break;
    case Py_GT: result = (a <=> b) > 0; break;
    case Py_GE: result = (a <=> b) >= 0; break;
    default: Py_RETURN_NOTIMPLEMENTED;
  }
  return PyBool_FromLong(result);
}

// A per-thread buffer the text and debug forms are written into before the
// Python str copies them, so str() and repr() allocate only the result.
std::string& scratch_text() noexcept;
// Frees the buffer's memory when one large value left it oversized.
void trim_scratch_text() noexcept;

// A new str holding what `append` writes for `value`.
template <class T>
PyObject* form_to_str(void (*append)(std::string&, const T&), const T& value) {
  std::string& buffer = scratch_text();
  buffer.clear();
  append(buffer, value);
  PyObject* result = new_str(buffer);
  trim_scratch_text();
  return result;
}

// Setter guard for a deletion (value nullptr): AttributeError
// "can't delete attribute". Returns true when the setter must fail.
bool refuse_deletion(PyObject* value) noexcept;

}  // namespace tolva::binding
