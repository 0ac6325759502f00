#pragma once

#include "binding/py_ref.hpp"

// Module-level functions, bound to the top module at entry.
namespace tolva::binding {

// test_function(version): fast call with keywords.
extern PyMethodDef test_function_def;
// init_tracing(): no arguments.
extern PyMethodDef init_tracing_def;

}  // namespace tolva::binding
