// Placeholder so the module links; replaced by the DotSeparated class.
#include "binding/types.hpp"

#include <new>

namespace tolva::binding {
namespace {

void dot_separated_dealloc(PyObject* self) {
  PyTypeObject* tp = Py_TYPE(self);
  reinterpret_cast<DotSeparatedObject*>(self)->value.~DotSeparated();
  tp->tp_free(self);
  Py_DECREF(tp);
}

PyType_Slot dot_separated_slots[] = {
    {Py_tp_dealloc, reinterpret_cast<void*>(dot_separated_dealloc)},
    {0, nullptr},
};

PyType_Spec dot_separated_spec = {
    .name = "builtins.DotSeparated",
    .basicsize = sizeof(DotSeparatedObject),
    .itemsize = 0,
    .flags = Py_TPFLAGS_DEFAULT,
    .slots = dot_separated_slots,
};

}  // namespace

PyTypeObject* dot_separated_type() noexcept {
  static PyTypeObject* type = reinterpret_cast<PyTypeObject*>(PyType_FromSpec(&dot_separated_spec));
  return type;
}

bool is_dot_separated(PyObject* obj) noexcept { return PyObject_TypeCheck(obj, dot_separated_type()); }

PyObject* new_dot_separated_object(PyTypeObject* type, DotSeparated&& value) noexcept {
  PyObject* self = type->tp_alloc(type, 0);
  if (self == nullptr) return nullptr;
  new (&reinterpret_cast<DotSeparatedObject*>(self)->value) DotSeparated(std::move(value));
  return self;
}

}  // namespace tolva::binding
