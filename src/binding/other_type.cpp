// Placeholder so the module links; replaced by the Other class.
#include "binding/types.hpp"

#include <new>

namespace tolva::binding {
namespace {

void other_dealloc(PyObject* self) {
  PyTypeObject* tp = Py_TYPE(self);
  reinterpret_cast<OtherObject*>(self)->value.~Other();
  tp->tp_free(self);
  Py_DECREF(tp);
}

PyType_Slot other_slots[] = {
    {Py_tp_dealloc, reinterpret_cast<void*>(other_dealloc)},
    {0, nullptr},
};

PyType_Spec other_spec = {
    .name = "builtins.Other",
    .basicsize = sizeof(OtherObject),
    .itemsize = 0,
    .flags = Py_TPFLAGS_DEFAULT,
    .slots = other_slots,
};

}  // namespace

PyTypeObject* other_type() noexcept {
  static PyTypeObject* type = reinterpret_cast<PyTypeObject*>(PyType_FromSpec(&other_spec));
  return type;
}

bool is_other(PyObject* obj) noexcept { return PyObject_TypeCheck(obj, other_type()); }

PyObject* new_other_object(PyTypeObject* type, Other&& value) noexcept {
  PyObject* self = type->tp_alloc(type, 0);
  if (self == nullptr) return nullptr;
  new (&reinterpret_cast<OtherObject*>(self)->value) Other(std::move(value));
  return self;
}

}  // namespace tolva::binding
