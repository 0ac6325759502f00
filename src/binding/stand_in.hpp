#pragma once

#include "binding/py_ref.hpp"

// The classes report the module "builtins", where pickle cannot find them by
// name. A stand-in takes a class's place in a pickle: it pickles as a recipe
// that looks the class up in the module tolva ("import tolva, then read the
// attribute path"), so a pickle loads as the class itself, in any process that
// can import tolva. Calling a stand-in calls the class, so a reduction also
// works where it is called rather than pickled (copy, a hand-made reduction).
namespace tolva::binding {

// The class of the stand-ins, which Python code cannot instantiate. New
// reference; nullptr with an exception set, as for the functions below.
PyTypeObject* new_stand_in_type() noexcept;

// A new stand-in of `type` for the top module `top`: it pickles as
// importlib.import_module("tolva").
PyObject* new_module_stand_in(PyTypeObject* type, PyObject* top) noexcept;

// A new stand-in of `type` for `cls`, reached from the module's stand-in as
// `path` (for example "package.version.SemVer").
PyObject* new_class_stand_in(PyTypeObject* type, PyObject* module_stand_in, PyTypeObject* cls,
                             const char* path) noexcept;

}  // namespace tolva::binding
