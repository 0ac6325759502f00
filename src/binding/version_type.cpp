// The Version class: any kind of version, decided by the grammar or copied
// from one of the typed classes. Instances never change after construction.
#include <string>

#include "binding/convert.hpp"
#include "binding/errors.hpp"
#include "binding/guarded.hpp"
#include "binding/type_from_spec.hpp"
#include "binding/types.hpp"
#include "tolva/grammar/parsers.hpp"

namespace tolva::binding {
namespace {

// Owned by the process once created; never released.
PyTypeObject* cached_type = nullptr;

VersionObject* as_version(PyObject* self) { return reinterpret_cast<VersionObject*>(self); }

// The value the single constructor argument stands for; nullopt with an
// exception set when it cannot be used.
std::optional<Version> value_from(PyObject* arg) {
  if (PyUnicode_Check(arg)) {
    std::optional<std::string_view> text = utf8_view(arg);
    if (!text) return std::nullopt;
    std::expected<Version, Error> parsed = parse_version(*text);
    if (!parsed) {
      raise_parse_failure(parsed.error());
      return std::nullopt;
    }
    return std::move(*parsed);
  }
  if (is_semver(arg)) return Version{reinterpret_cast<SemVerObject*>(arg)->value};
  if (is_dot_separated(arg)) return Version{reinterpret_cast<DotSeparatedObject*>(arg)->value};
  if (is_other(arg)) return Version{reinterpret_cast<OtherObject*>(arg)->value};
  if (is_version(arg)) return as_version(arg)->value;

  std::optional<std::string> name = type_name(arg);
  if (!name) return std::nullopt;
  raise(PyExc_TypeError, "Cannot construct Version from type '" + *name + "'");
  return std::nullopt;
}

// The constructor shared by the call paths. `first_keyword` is the first
// keyword name given, or null when there is none.
PyObject* construct(PyTypeObject* type, PyObject* const* args, Py_ssize_t nargs,
                    PyObject* first_keyword) noexcept {
  if (first_keyword != nullptr) {
    return PyErr_Format(PyExc_TypeError,
                        "Version.__new__() got an unexpected keyword argument '%S'",
                        first_keyword);
  }
  if (nargs != 1) return raise(PyExc_ValueError, "Version() requires arguments");
  return guarded<PyObject*>(nullptr, [&]() -> PyObject* {
    std::optional<Version> value = value_from(args[0]);
    if (!value) return nullptr;
    return new_version_object(type, std::move(*value));
  });
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

#ifdef Py_TPFLAGS_IMMUTABLETYPE
// Calling the class directly skips building an argument tuple and dict. Only
// an immutable class may have it (3.10+): this entry would not see a __new__
// assigned to the class later.
PyObject* version_vectorcall(PyObject* type, PyObject* const* args, size_t nargsf,
                             PyObject* kwnames) {
  PyObject* first_keyword =
      kwnames != nullptr && PyTuple_GET_SIZE(kwnames) > 0 ? PyTuple_GET_ITEM(kwnames, 0) : nullptr;
  return construct(reinterpret_cast<PyTypeObject*>(type), args, PyVectorcall_NARGS(nargsf),
                   first_keyword);
}
#endif

void version_dealloc(PyObject* self) {
  PyTypeObject* tp = Py_TYPE(self);
  as_version(self)->value.~Version();
  tp->tp_free(self);
  Py_DECREF(tp);
}

// Writes one of the value's forms into a per-thread buffer and returns it as a
// new str, so printing allocates only the Python string. The forms never call
// back into Python, so the buffer is never in use twice on one thread.
PyObject* written_form(PyObject* self, void (*append)(std::string&, const Version&)) noexcept {
  // Past this size the buffer is given back rather than kept for the thread.
  constexpr std::size_t kept_capacity = 4096;
  thread_local std::string buffer;
  return guarded<PyObject*>(nullptr, [&] {
    buffer.clear();
    append(buffer, as_version(self)->value);
    PyObject* result = new_str(buffer);
    if (buffer.capacity() > kept_capacity) std::string().swap(buffer);
    return result;
  });
}

PyObject* version_str(PyObject* self) { return written_form(self, append_text_form); }
PyObject* version_repr(PyObject* self) { return written_form(self, append_debug_form); }

PyObject* version_richcompare(PyObject* self, PyObject* other, int op) {
  if (op < Py_LT || op > Py_GE || !is_version(other)) Py_RETURN_NOTIMPLEMENTED;
  const Version& a = as_version(self)->value;
  const Version& b = as_version(other)->value;
  bool result = false;
  switch (op) {
    case Py_LT: result = (a <=> b) < 0; break;
    case Py_LE: result = (a <=> b) <= 0; break;
    case Py_EQ: result = a == b; break;
    case Py_NE: result = !(a == b); break;
    case Py_GT: result = (a <=> b) > 0; break;
    case Py_GE: result = (a <=> b) >= 0; break;
  }
  return PyBool_FromLong(result);
}

PyType_Slot version_slots[] = {
    {Py_tp_doc, const_cast<char*>("Version(*args)\n--\n\nPython wrapper around a [`Version`]")},
    {Py_tp_new, reinterpret_cast<void*>(version_new)},
    {Py_tp_dealloc, reinterpret_cast<void*>(version_dealloc)},
    {Py_tp_str, reinterpret_cast<void*>(version_str)},
    {Py_tp_repr, reinterpret_cast<void*>(version_repr)},
    {Py_tp_richcompare, reinterpret_cast<void*>(version_richcompare)},
    {0, nullptr},
};

PyType_Spec version_spec = {
    .name = "builtins.Version",
    .basicsize = sizeof(VersionObject),
    .itemsize = 0,
#ifdef Py_TPFLAGS_IMMUTABLETYPE
    // The vectorcall entry would not see a __new__ assigned to the class later.
    .flags = Py_TPFLAGS_DEFAULT | Py_TPFLAGS_IMMUTABLETYPE,
#else
    .flags = Py_TPFLAGS_DEFAULT,
#endif
    .slots = version_slots,
};

}  // namespace

PyTypeObject* version_type() noexcept {
  if (cached_type != nullptr) return cached_type;
  PyObject* type = type_from_spec(version_spec);
  if (type == nullptr) {
    ensure_error_set();
    return nullptr;
  }
  // Creating a class can run Python code and let another thread in first;
  // the first one stored wins so instance tests always see the same class.
  if (cached_type != nullptr) {
    Py_DECREF(type);
    return cached_type;
  }
  cached_type = reinterpret_cast<PyTypeObject*>(type);
#ifdef Py_TPFLAGS_IMMUTABLETYPE
  cached_type->tp_vectorcall = version_vectorcall;
#endif
  return cached_type;
}

bool is_version(PyObject* obj) noexcept {
  // Before the class exists no object can be an instance of it.
  return cached_type != nullptr && PyObject_TypeCheck(obj, cached_type);
}

PyObject* new_version_object(PyTypeObject* type, Version&& value) noexcept {
  allocfunc alloc = type->tp_alloc != nullptr ? type->tp_alloc : PyType_GenericAlloc;
  PyObject* self = alloc(type, 0);
  if (self == nullptr) {
    ensure_error_set();
    return nullptr;
  }
  new (&as_version(self)->value) Version(std::move(value));
  return self;
}

}  // namespace tolva::binding
