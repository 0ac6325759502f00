#pragma once

#include "binding/py_ref.hpp"

// The classes report the module "builtins", where pickle cannot find them by
// name. A stand-in takes a class's place in a pickle: the top module tolva
// holds it under a private name, and it pickles as that name, so a pickle
// loads it in any process that can import tolva. Calling a stand-in calls the
// class, so a pickle that calls it loads as an instance, and a reduction also
// works where it is called rather than pickled (copy, a hand-made reduction).
// Pickles made before the stand-ins had names call the class found through
// importlib.import_module("tolva") and operator.attrgetter instead, and still
// load: the classes stay where they were.
namespace tolva::binding {

// The class of the stand-ins, which Python code cannot instantiate. New
// reference; nullptr with an exception set, as for the function below.
PyTypeObject* new_stand_in_type() noexcept;

// A new stand-in of `type` for `cls`, which pickles as the attribute `name` of
// the top module; the caller puts it there.
PyObject* new_class_stand_in(PyTypeObject* type, PyTypeObject* cls, const char* name) noexcept;

}  // namespace tolva::binding
