// The module entry: builds tolva, tolva.package and tolva.package.version once
// per process and registers the classes and functions in a fixed order.
#include <cstdint>
#include <string>

#include "binding/bound_class.hpp"
#include "binding/errors.hpp"
#include "binding/functions.hpp"
#include "binding/guarded.hpp"
#include "binding/module_state.hpp"

namespace tolva::binding {
namespace {

constexpr int api_version = 1013;

PyModuleDef module_def = {
    PyModuleDef_HEAD_INIT,
    "tolva",
    "A Python extension module that reads, orders and prints software version numbers.",
    0,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

// The top module after the first successful entry, owned for the life of the
// process, and the interpreter that made it. The interpreter's import lock
// keeps a second import of tolva out while the first one runs, so no other
// entry can come between the check and the store.
PyObject* module_cell = nullptr;
std::int64_t module_interpreter = -1;
// Whether an interpreter other than the module's has been refused.
bool other_interpreter_refused = false;

std::int64_t current_interpreter() {
#if PY_VERSION_HEX >= 0x03090000
  return PyInterpreterState_GetID(PyInterpreterState_Get());
#else
  return PyInterpreterState_GetID(_PyInterpreterState_Get());
#endif
}

// Appends `name` to the module's __all__ (creating the list when missing), then
// sets the attribute. false with an exception set on failure.
bool add(PyObject* module, PyObject* name, PyObject* object) {
  PyRef all = PyRef::steal(PyObject_GetAttrString(module, "__all__"));
  if (!all) {
    if (!PyErr_ExceptionMatches(PyExc_AttributeError)) return false;
    PyErr_Clear();
    all = PyRef::steal(PyList_New(0));
    if (!all || PyObject_SetAttrString(module, "__all__", all.get()) < 0) return false;
  }
  return PyList_Append(all.get(), name) == 0 && PyObject_SetAttr(module, name, object) == 0;
}

// Adds `child` to `parent` under the child's own __name__.
bool add_submodule(PyObject* parent, PyObject* child) {
  PyRef name = PyRef::steal(PyModule_GetNameObject(child));
  return name && add(parent, name.get(), child);
}

// Adds T's class, made with the state, under its name.
template <class T>
bool add_class(PyObject* module) {
  PyRef name = PyRef::steal(new_str(class_name<T>()));
  return name && add(module, name.get(), reinterpret_cast<PyObject*>(class_object<T>()));
}

// Builds the function bound to the top module and adds it under its __name__.
bool add_function(PyObject* top, PyMethodDef* def) {
  PyRef module_name = PyRef::steal(PyModule_GetNameObject(top));
  if (!module_name) return false;
  PyRef function = PyRef::steal(PyCFunction_NewEx(def, top, module_name.get()));
  if (!function) return false;
  PyRef name = PyRef::steal(PyObject_GetAttrString(function.get(), "__name__"));
  return name && add(top, name.get(), function.get());
}

// Fills the new top module; false with an exception set at the first failing
// step. The submodules die with their local references unless attached.
bool run_body(PyObject* top) {
  PyRef package = PyRef::steal(PyModule_New("package"));
  if (!package) return false;
  PyRef version = PyRef::steal(PyModule_New("version"));
  if (!version) return false;
  return add_class<Version>(version.get()) && add_class<SemVer>(version.get()) &&
         add_class<DotSeparated>(version.get()) && add_class<Other>(version.get()) &&
         add_submodule(package.get(), version.get()) && add_submodule(top, package.get()) &&
         add_function(top, &test_function_def) && add_function(top, &init_tracing_def);
}

// The module from the cell, or a freshly built one.
PyObject* create_module() {
  // The classes and the state are the process's, made for the interpreter
  // that imported first. From CPython 3.13 a sub-interpreter's first import
  // makes the module in the main interpreter and is then refused itself, so
  // the main interpreter's own import must say the same, not that it
  // imported twice.
  if (module_cell != nullptr &&
      (current_interpreter() != module_interpreter || other_interpreter_refused)) {
    if (current_interpreter() != module_interpreter) other_interpreter_refused = true;
    PyErr_SetString(PyExc_ImportError,
                    "tolva works in one interpreter per process, whichever imports it first, "
                    "and another interpreter of this process has imported it");
    return nullptr;
  }
  if (module_cell != nullptr) {
    PyErr_SetString(PyExc_ImportError,
                    "PyO3 modules compiled for CPython 3.8 or older may only be initialized "
                    "once per interpreter process");
    return nullptr;
  }
  PyRef top = PyRef::steal(PyModule_Create2(&module_def, api_version));
  if (!top || !build_state(top.get())) {
    ensure_error_set();
    return nullptr;
  }
  if (!run_body(top.get())) {
    ensure_error_set();
    release_state();
    return nullptr;
  }
  Py_INCREF(top.get());
  module_cell = top.get();
  module_interpreter = current_interpreter();
  return top.release();
}

}  // namespace
}  // namespace tolva::binding

#if PY_VERSION_HEX < 0x03090000
// Before 3.9 PyMODINIT_FUNC sets no visibility, and this module hides every
// symbol by default; the interpreter must still find its entry.
#pragma GCC visibility push(default)
PyMODINIT_FUNC PyInit_tolva(void);
#pragma GCC visibility pop
#endif

PyMODINIT_FUNC PyInit_tolva(void) {
  using namespace tolva::binding;
  return guarded<PyObject*>(nullptr, create_module);
}
