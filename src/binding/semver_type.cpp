// Placeholder so the module links; replaced by the SemVer class.
#include "binding/types.hpp"

#include <new>

namespace tolva::binding {
namespace {

void semver_dealloc(PyObject* self) {
  PyTypeObject* tp = Py_TYPE(self);
  reinterpret_cast<SemVerObject*>(self)->value.~SemVer();
  tp->tp_free(self);
  Py_DECREF(tp);
}

PyType_Slot semver_slots[] = {
    {Py_tp_dealloc, reinterpret_cast<void*>(semver_dealloc)},
    {0, nullptr},
};

PyType_Spec semver_spec = {
    .name = "builtins.SemVer",
    .basicsize = sizeof(SemVerObject),
    .itemsize = 0,
    .flags = Py_TPFLAGS_DEFAULT,
    .slots = semver_slots,
};

}  // namespace

PyTypeObject* semver_type() noexcept {
  static PyTypeObject* type = reinterpret_cast<PyTypeObject*>(PyType_FromSpec(&semver_spec));
  return type;
}

bool is_semver(PyObject* obj) noexcept { return PyObject_TypeCheck(obj, semver_type()); }

PyObject* new_semver_object(PyTypeObject* type, SemVer&& value) noexcept {
  PyObject* self = type->tp_alloc(type, 0);
  if (self == nullptr) return nullptr;
  new (&reinterpret_cast<SemVerObject*>(self)->value) SemVer(std::move(value));
  return self;
}

}  // namespace tolva::binding
