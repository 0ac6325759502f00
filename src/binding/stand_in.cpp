#include "binding/stand_in.hpp"

#include "binding/errors.hpp"
#include "binding/guarded.hpp"

namespace tolva::binding {
namespace {

// Stands in for `target` in a pickle, which writes `reduction` (a callable and
// its arguments) in its place.
struct StandInObject {
  PyObject_HEAD
  PyObject* target;
  PyObject* reduction;
};

StandInObject* as_stand_in(PyObject* self) { return reinterpret_cast<StandInObject*>(self); }

PyObject* stand_in_call(PyObject* self, PyObject* args, PyObject* kwargs) {
  return PyObject_Call(as_stand_in(self)->target, args, kwargs);
}

PyObject* stand_in_reduce(PyObject* self, PyObject*) {
  PyObject* reduction = as_stand_in(self)->reduction;
  Py_INCREF(reduction);
  return reduction;
}

void stand_in_dealloc(PyObject* self) {
  PyTypeObject* tp = Py_TYPE(self);
  Py_XDECREF(as_stand_in(self)->target);
  Py_XDECREF(as_stand_in(self)->reduction);
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

// `name` of the module `module`, as a new reference.
PyObject* module_attribute(const char* module, const char* name) noexcept {
  PyRef imported = PyRef::steal(PyImport_ImportModule(module));
  return imported ? PyObject_GetAttrString(imported.get(), name) : nullptr;
}

// A new stand-in of `type` for `target` that pickles as `callable(*args)`;
// takes over the references `target` and `args`, which may be null after a
// failed call.
PyObject* new_stand_in(PyTypeObject* type, PyObject* target, PyObject* callable,
                       PyObject* args) noexcept {
  PyRef owned_target = PyRef::steal(target);
  PyRef owned_args = PyRef::steal(args);
  if (!owned_target || !owned_args || callable == nullptr) return nullptr;
  PyRef reduction = PyRef::steal(PyTuple_Pack(2, callable, owned_args.get()));
  if (!reduction) return nullptr;
  PyObject* self = type->tp_alloc(type, 0);
  if (self == nullptr) return nullptr;
  as_stand_in(self)->target = owned_target.release();
  as_stand_in(self)->reduction = reduction.release();
  return self;
}

}  // namespace

PyTypeObject* new_stand_in_type() noexcept {
  PyObject* type = PyType_FromSpec(&stand_in_spec);
  if (type == nullptr) return nullptr;
  // Only this file makes stand-ins: Python code cannot, so a stand-in never
  // lacks its target.
  reinterpret_cast<PyTypeObject*>(type)->tp_new = nullptr;
  return reinterpret_cast<PyTypeObject*>(type);
}

PyObject* new_module_stand_in(PyTypeObject* type, PyObject* top) noexcept {
  PyRef import_module = PyRef::steal(module_attribute("importlib", "import_module"));
  Py_INCREF(top);
  return new_stand_in(type, top, import_module.get(), Py_BuildValue("(s)", "tolva"));
}

PyObject* new_class_stand_in(PyTypeObject* type, PyObject* module_stand_in, PyTypeObject* cls,
                             const char* path) noexcept {
  // operator.attrgetter("package.version.SemVer")(tolva) is the class.
  PyRef attrgetter = PyRef::steal(module_attribute("operator", "attrgetter"));
  PyRef getter =
      PyRef::steal(attrgetter ? PyObject_CallFunction(attrgetter.get(), "s", path) : nullptr);
  Py_INCREF(cls);
  return new_stand_in(type, reinterpret_cast<PyObject*>(cls), getter.get(),
                      PyTuple_Pack(1, module_stand_in));
}

}  // namespace tolva::binding
