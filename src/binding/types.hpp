#pragma once

#include "binding/py_ref.hpp"

#include "tolva/values/version.hpp"

// The four classes: instance layouts and the cached class objects.
namespace tolva::binding {

struct VersionObject {
  PyObject_HEAD
  Version value;
};
struct SemVerObject {
  PyObject_HEAD
  SemVer value;
};
struct DotSeparatedObject {
  PyObject_HEAD
  DotSeparated value;
};
struct OtherObject {
  PyObject_HEAD
  Other value;
};

// Each class object is created from its PyType_Spec on the first call
// and cached for the life of the process. nullptr with an exception set if the
// interpreter refuses to create it.
PyTypeObject* version_type() noexcept;
PyTypeObject* semver_type() noexcept;
PyTypeObject* dot_separated_type() noexcept;
PyTypeObject* other_type() noexcept;

// Instance tests against the cached classes (the class or one derived from it).
bool is_version(PyObject* obj) noexcept;
bool is_semver(PyObject* obj) noexcept;
bool is_dot_separated(PyObject* obj) noexcept;
bool is_other(PyObject* obj) noexcept;

// Allocates an instance of `type` (its tp_alloc, or the generic allocation) and
// moves `value` in. nullptr with an exception set on failure; `value` is then dropped.
PyObject* new_version_object(PyTypeObject* type, Version&& value) noexcept;
PyObject* new_semver_object(PyTypeObject* type, SemVer&& value) noexcept;
PyObject* new_dot_separated_object(PyTypeObject* type, DotSeparated&& value) noexcept;
PyObject* new_other_object(PyTypeObject* type, Other&& value) noexcept;

}  // namespace tolva::binding
