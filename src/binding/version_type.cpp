// The Version class: any kind of version, decided by the grammar or copied
// from one of the typed classes. Instances never change after construction.
#include <string>

#include "binding/bound_class.hpp"
#include "binding/rejected_text.hpp"
#include "binding/type_paths.hpp"
#include "tolva/grammar/readers.hpp"

namespace tolva::binding {
namespace {

// The value the single constructor argument stands for; nullopt with an
// exception set when it cannot be used.
std::optional<Version> value_from(PyObject* arg) {
  if (PyUnicode_Check(arg)) {
    std::optional<std::string_view> text = utf8_view(arg);
    if (!text) return std::nullopt;
    std::expected<Version, grammar::ParseError> reading = parse(*text);
    if (!reading) {
      raise_rejected_text(*text, reading.error(), type_path<Version>);
      return std::nullopt;
    }
    return std::move(*reading);
  }
  if (is_instance<SemVer>(arg)) return Version{stored<SemVer>(arg)};
  if (is_instance<DotSeparated>(arg)) return Version{stored<DotSeparated>(arg)};
  if (is_instance<Other>(arg)) return Version{stored<Other>(arg)};
  if (is_instance<Version>(arg)) return stored<Version>(arg);

  std::optional<std::string> name = type_name(arg);
  if (!name) return std::nullopt;
  raise(PyExc_TypeError, "Cannot construct Version from type '" + *name + "'");
  return std::nullopt;
}

// The constructor shared by the call paths. `first_keyword` is the first
// keyword name given, or null when there is none.
PyObject* construct(PyTypeObject* type, PyObject* const* args, Py_ssize_t nargs,
                    PyObject* first_keyword) {
  if (first_keyword != nullptr) {
    return PyErr_Format(PyExc_TypeError,
                        "Version.__new__() got an unexpected keyword argument '%S'", first_keyword);
  }
  if (nargs != 1) return raise(PyExc_ValueError, "Version() requires arguments");
  std::optional<Version> value = value_from(args[0]);
  if (!value) return nullptr;
  return new_instance(type, std::move(*value));
}

PyObject* version_new(PyTypeObject* type, PyObject* args, PyObject* kwargs) {
  PyObject* first_keyword = nullptr;
  if (kwargs != nullptr) {
    Py_ssize_t pos = 0;
    PyObject* value = nullptr;
    PyDict_Next(kwargs, &pos, &first_keyword, &value);
  }
  return construct(type, &PyTuple_GET_ITEM(args, 0), PyTuple_GET_SIZE(args), first_keyword);
}

// Calling the class directly skips building an argument tuple and dict.
PyObject* version_vectorcall(PyObject* type, PyObject* const* args, size_t nargsf,
                             PyObject* kwnames) {
  PyObject* first_keyword =
      kwnames != nullptr && PyTuple_GET_SIZE(kwnames) > 0 ? PyTuple_GET_ITEM(kwnames, 0) : nullptr;
  return construct(reinterpret_cast<PyTypeObject*>(type), args, PyVectorcall_NARGS(nargsf),
                   first_keyword);
}

const PyType_Slot version_slots[] = {
    {Py_tp_doc, const_cast<char*>("Version(*args)\n--\n\nPython wrapper around a [`Version`]")},
    {Py_tp_new, slot<version_new>()},
};

}  // namespace

template <>
ClassDef BoundClass<Version>::def = class_def<Version>("builtins.Version", version_slots,
                                                       entry<version_vectorcall>);

}  // namespace tolva::binding
