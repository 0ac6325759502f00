#include "binding/errors.hpp"

#include "binding/module_state.hpp"

namespace tolva::binding {

PyObject* raise(PyObject* type, std::string_view message) noexcept {
  // "replace" keeps a malformed message from turning into a UnicodeDecodeError
  // that would hide the exception the caller meant to raise.
  PyRef text = PyRef::steal(
      PyUnicode_DecodeUTF8(message.data(), static_cast<Py_ssize_t>(message.size()), "replace"));
  if (!text) return nullptr;
  PyErr_SetObject(type, text.get());
  return nullptr;
}

void ensure_error_set() noexcept {
  if (!PyErr_Occurred()) {
    PyErr_SetString(PyExc_SystemError, "attempted to fetch exception but none was set");
  }
}

PyObject* raise_internal(std::string_view message) noexcept {
  // Only a failure of the import itself comes before the type exists.
  PyObject* type = state().internal_error;
  return raise(type != nullptr ? type : PyExc_SystemError, message);
}

void prefix_argument_name(std::string_view name) {
  if (!PyErr_Occurred()) return;
  PyObject* type = nullptr;
  PyObject* value = nullptr;
  PyObject* traceback = nullptr;
  PyErr_Fetch(&type, &value, &traceback);
  PyErr_NormalizeException(&type, &value, &traceback);
  if (value == nullptr || Py_TYPE(value) != reinterpret_cast<PyTypeObject*>(PyExc_TypeError)) {
    PyErr_Restore(type, value, traceback);
    return;
  }
  PyRef old_type = PyRef::steal(type);
  PyRef old_value = PyRef::steal(value);
  PyRef old_traceback = PyRef::steal(traceback);

  PyRef name_text =
      PyRef::steal(PyUnicode_FromStringAndSize(name.data(), static_cast<Py_ssize_t>(name.size())));
  if (!name_text) return;
  PyRef message =
      PyRef::steal(PyUnicode_FromFormat("argument '%U': %S", name_text.get(), old_value.get()));
  if (!message) return;
  PyRef replacement =
      PyRef::steal(PyObject_CallFunctionObjArgs(PyExc_TypeError, message.get(), nullptr));
  if (!replacement) return;
  // SetCause steals the reference GetCause hands out; a null cause is allowed.
  PyException_SetCause(replacement.get(), PyException_GetCause(old_value.get()));
  PyErr_SetObject(PyExc_TypeError, replacement.get());
}

}  // namespace tolva::binding
