#pragma once

#include "binding/py_ref.hpp"

// The classes report the module "builtins", where pickle cannot find them by
// name. A stand-in takes a class's place in a pickle: it pickles as a recipe
// that looks the class up in the module tolva ("import tolva, then read the
// attribute path"), so a pickle loads as the class itself, in any process that
// can import tolva. Calling a stand-in calls the class, so a reduction also
// works where it is called rather than pickled (copy, a hand-made reduction).
namespace tolva::binding {

// The stand-in for `cls`, reached from the module tolva as `path` (for example
// "package.version.SemVer"). Made on the first call for a given `cache` and kept
// there for the life of the process; borrowed. nullptr with an exception set.
PyObject* class_stand_in(PyObject*& cache, PyTypeObject* cls, const char* path) noexcept;

}  // namespace tolva::binding
