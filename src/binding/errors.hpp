#pragma once

#include "binding/py_ref.hpp"

#include <string_view>

// Raising Python exceptions. Every raise_* sets the exception and returns
// nullptr, so a slot can `return raise_...(...)`.
namespace tolva::binding {

PyObject* raise(PyObject* type, std::string_view message) noexcept;

// After an interpreter call failed: makes sure an exception is pending, setting
// SystemError "attempted to fetch exception but none was set" when none is.
void ensure_error_set() noexcept;

// Raises the module's one exception type for conditions the layer does not
// handle, tolva.InternalError.
PyObject* raise_internal(std::string_view message) noexcept;

// The argument-name rule: if the pending exception is exactly TypeError, it is
// replaced by TypeError("argument '<name>': <its str()>") that keeps its cause.
// Any other pending exception is left as it is.
void prefix_argument_name(std::string_view name);

}  // namespace tolva::binding
