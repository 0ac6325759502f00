#include "binding/typed_constructor.hpp"

#include <algorithm>
#include <string>

namespace tolva::binding {

std::optional<PyRef> keyword_value(PyObject* kwargs, Keyword key) {
  PyObject* name = state().keywords[static_cast<std::size_t>(key)];
  PyObject* found = PyDict_GetItemWithError(kwargs, name);
  if (found == nullptr && PyErr_Occurred() != nullptr) return std::nullopt;
  // Held while conversions run Python code.
  return PyRef::borrow(found);
}

bool check_keywords(PyObject* kwargs, std::initializer_list<std::string_view> accepted,
                    std::string_view name) {
  Py_ssize_t pos = 0;
  PyObject* key = nullptr;
  PyObject* value = nullptr;
  while (PyDict_Next(kwargs, &pos, &key, &value)) {
    // Keyword names reach tp_new as str; anything else is shown by its str(),
    // which may run Python code that changes the dictionary, so the key is held.
    PyRef held = PyRef::borrow(key);
    PyRef shown = PyUnicode_Check(key) ? held : PyRef::steal(PyObject_Str(key));
    if (!shown) return false;
    std::optional<std::string_view> key_text = utf8_view(shown.get());
    if (!key_text) return false;
    const bool known = PyUnicode_Check(key) &&
                       std::find(accepted.begin(), accepted.end(), *key_text) != accepted.end();
    if (known) continue;
    std::string message = "'";
    message.append(*key_text).append("' is an invalid keyword argument for ");
    message.append(name).append("()");
    raise(PyExc_ValueError, message);
    return false;
  }
  return true;
}

void raise_requires_arguments(std::string_view name) {
  std::string message(name);
  message.append("() requires arguments");
  raise(PyExc_ValueError, message);
}

void raise_expected_kind(std::string_view name, const Version& found) {
  std::string message = "Expected ";
  message.append(name).append("; found ");
  append_debug_form(message, found);
  raise(PyExc_TypeError, message);
}

void raise_cannot_construct(std::string_view name, PyObject* arg) {
  std::optional<std::string> found = type_name(arg);
  if (!found) return;
  std::string message = "Cannot construct ";
  message.append(name).append(" from type '").append(*found).append("'");
  raise(PyExc_TypeError, message);
}

void raise_args_and_kwargs() {
  raise(PyExc_TypeError, "Constructor expects *args or **kwargs, but not both");
}

}  // namespace tolva::binding
