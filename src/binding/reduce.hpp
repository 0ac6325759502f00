#pragma once

#include "binding/py_ref.hpp"

// How pickle and copy take an instance apart and build it again: the methods
// __reduce__, __copy__ and __deepcopy__ of the four classes, one
// implementation for all four.
namespace tolva::binding {

// The method table of the class holding values of type T (Version, SemVer,
// DotSeparated or Other), for its Py_tp_methods slot.
template <class T>
PyMethodDef* reduce_methods() noexcept;

}  // namespace tolva::binding
