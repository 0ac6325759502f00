#include "binding/stand_in.hpp"

#include "binding/errors.hpp"
#include "binding/guarded.hpp"

namespace tolva::binding {
namespace {

// Stands in for `target` in a pickle, which writes `name`, the stand-in's
// attribute of the top module, in its place.
struct StandInObject {
  PyObject_HEAD
  PyObject* target;
  PyObject* name;
};

StandInObject* as_stand_in(PyObject* self) { return reinterpret_cast<StandInObject*>(self); }

PyObject* stand_in_call(PyObject* self, PyObject* args, PyObject* kwargs) {
  return PyObject_Call(as_stand_in(self)->target, args, kwargs);
}

// A str: pickle writes the object as a global of its __module__ (tolva, the
// module of this type) by that name, once it has checked that the name leads
// back to this very object.
PyObject* stand_in_reduce(PyObject* self, PyObject*) {
  PyObject* name = as_stand_in(self)->name;
  Py_INCREF(name);
  return name;
}

void stand_in_dealloc(PyObject* self) {
  PyTypeObject* tp = Py_TYPE(self);
  Py_XDECREF(as_stand_in(self)->target);
  Py_XDECREF(as_stand_in(self)->name);
  tp->tp_free(self);
  Py_DECREF(tp);
}

PyMethodDef stand_in_methods[] = {
    {"__reduce__", entry<stand_in_reduce>, METH_NOARGS, nullptr},
    {nullptr, nullptr, 0, nullptr},
};

PyType_Slot stand_in_slots[] = {
    {Py_tp_call, slot<stand_in_call>()},
    {Py_tp_dealloc, reinterpret_cast<void*>(stand_in_dealloc)},
    {Py_tp_methods, stand_in_methods},
    {0, nullptr},
};

PyType_Spec stand_in_spec = {
    .name = "tolva.StandIn",
    .basicsize = sizeof(StandInObject),
    .itemsize = 0,
    .flags = Py_TPFLAGS_DEFAULT,
    .slots = stand_in_slots,
};

}  // namespace

PyTypeObject* new_stand_in_type() noexcept {
  PyObject* type = PyType_FromSpec(&stand_in_spec);
  if (type == nullptr) return nullptr;
  // Only this file makes stand-ins: Python code cannot, so a stand-in never
  // lacks its target.
  reinterpret_cast<PyTypeObject*>(type)->tp_new = nullptr;
  return reinterpret_cast<PyTypeObject*>(type);
}

PyObject* new_class_stand_in(PyTypeObject* type, PyTypeObject* cls, const char* name) noexcept {
  PyRef owned_name = PyRef::steal(PyUnicode_FromString(name));
  if (!owned_name) return nullptr;
  PyObject* self = type->tp_alloc(type, 0);
  if (self == nullptr) return nullptr;
  Py_INCREF(cls);
  as_stand_in(self)->target = reinterpret_cast<PyObject*>(cls);
  as_stand_in(self)->name = owned_name.release();
  return self;
}

}  // namespace tolva::binding
