#pragma once

#include "binding/py_ref.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "binding/convert.hpp"
#include "binding/errors.hpp"
#include "binding/guarded.hpp"
#include "binding/module_state.hpp"
#include "binding/reduce.hpp"
#include "tolva/values/version.hpp"

// The machinery every class of the module is built on: an instance is a
// Python object header followed by one C++ value, which is complete before the
// object is allocated and destroyed with it. A class supplies its own slots
// (doc, constructor, attributes) through a ClassDef; the machinery adds
// deallocation, the text form as str(), the debug form as repr(), the six
// comparisons from the value's own operators, and pickling and copying.
namespace tolva::binding {

template <class T>
struct Instance {
  PyObject_HEAD
  T value;
};

// The value stored in an object known to be an instance of T's class.
template <class T>
T& stored(PyObject* obj) noexcept {
  return reinterpret_cast<Instance<T>*>(obj)->value;
}

struct ClassDef {
  PyType_Spec spec;
  // Installed on the class after creation where the interpreter allows it
  // (3.10+, immutable classes only); nullptr for none.
  vectorcallfunc vectorcall = nullptr;
};

// Each class's definition, in the file of the class; the class object is
// made from it once, with the module's state.
template <class T>
struct BoundClass {
  static ClassDef def;
};
template <>
ClassDef BoundClass<Version>::def;
template <>
ClassDef BoundClass<SemVer>::def;
template <>
ClassDef BoundClass<DotSeparated>::def;
template <>
ClassDef BoundClass<Other>::def;

// The class's name as Python shows it, e.g. "SemVer".
template <class T>
std::string_view class_name() noexcept {
  std::string_view full = BoundClass<T>::def.spec.name;
  return full.substr(full.rfind('.') + 1);
}

// PyType_FromSpec that keeps the class's call signature on every interpreter.
// New reference; nullptr with an exception set.
PyObject* class_from_spec(const PyType_Spec& spec) noexcept;

template <class T>
PyTypeObject* class_object() noexcept {
  return state().classes[class_index<T>];
}

// `obj` is an instance of T's class. No class is a base type, so no class
// derives from one and the exact type decides, without a call.
template <class T>
bool is_instance(PyObject* obj) noexcept {
  return Py_TYPE(obj) == class_object<T>();
}

// Instances of the module's classes alive in the process, for leak checks.
// Changed only with the interpreter lock held.
extern std::int64_t live_instances;

// Allocates an instance of `type` and moves `value` into it. nullptr with an
// exception set; `value` is then dropped. The classes are neither collected
// nor subclassed, so the object's memory needs no zeroing and no tracking: the
// value's constructor writes every byte that is read.
template <class T>
PyObject* new_instance(PyTypeObject* type, T&& value) noexcept {
  PyObject* self = PyObject_New(PyObject, type);
  if (self == nullptr) {
    ensure_error_set();
    return nullptr;
  }
  new (&stored<T>(self)) T(std::move(value));
  ++live_instances;
  return self;
}

template <class T>
void dealloc(PyObject* self) noexcept {
  PyTypeObject* type = Py_TYPE(self);
  stored<T>(self).~T();
  --live_instances;
  type->tp_free(self);
  Py_DECREF(type);
}

// A per-thread buffer the text and debug forms are written into before the
// Python str copies them, so str() and repr() allocate only the result. The
// forms never call back into Python, so it is never in use twice on one thread.
std::string& scratch_text() noexcept;
// Frees the buffer's memory when one large value left it oversized.
void trim_scratch_text() noexcept;

template <class T, void (*append)(std::string&, const T&)>
PyObject* written_form(PyObject* self) {
  std::string& buffer = scratch_text();
  buffer.clear();
  append(buffer, stored<T>(self));
  PyObject* result = new_str(buffer);
  trim_scratch_text();
  return result;
}

// The interpreter calls this slot with an instance of the class as `self`.
template <class T>
PyObject* richcompare(PyObject* self, PyObject* other, int op) {
  if (!is_instance<T>(other)) Py_RETURN_NOTIMPLEMENTED;
  const T& a = stored<T>(self);
  const T& b = stored<T>(other);
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
  PyObject* answer = result ? Py_True : Py_False;
  Py_INCREF(answer);
  return answer;
}

// The definition of T's class: `name` as "builtins.<Name>", the class's own
// slots followed by the shared ones. Every class is immutable where the
// interpreter supports it (3.10+), so no assignment to a class can change
// its instances' behaviour.
template <class T, std::size_t N>
ClassDef class_def(const char* name, const PyType_Slot (&own)[N],
                   vectorcallfunc vectorcall = nullptr) {
  static std::array<PyType_Slot, N + 6> slots = [&] {
    std::array<PyType_Slot, N + 6> all{};
    std::copy(own, own + N, all.begin());
    all[N] = {Py_tp_dealloc, reinterpret_cast<void*>(dealloc<T>)};
    all[N + 1] = {Py_tp_str, slot<written_form<T, append_text_form>>()};
    all[N + 2] = {Py_tp_repr, slot<written_form<T, append_debug_form>>()};
    all[N + 3] = {Py_tp_richcompare, slot<richcompare<T>>()};
    all[N + 4] = {Py_tp_methods, reduce_methods<T>()};
    all[N + 5] = {0, nullptr};
    return all;
  }();
#ifdef Py_TPFLAGS_IMMUTABLETYPE
  constexpr unsigned int flags = Py_TPFLAGS_DEFAULT | Py_TPFLAGS_IMMUTABLETYPE;
#else
  constexpr unsigned int flags = Py_TPFLAGS_DEFAULT;
#endif
  return ClassDef{
      .spec = {.name = name,
               .basicsize = sizeof(Instance<T>),
               .itemsize = 0,
               .flags = flags,
               .slots = slots.data()},
      .vectorcall = vectorcall,
  };
}

}  // namespace tolva::binding
