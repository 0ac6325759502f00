#include "binding/module_state.hpp"

#include <string>

#include "binding/bound_class.hpp"
#include "binding/errors.hpp"
#include "binding/stand_in.hpp"

namespace tolva::binding {

ModuleState detail::module_state;

namespace {

ModuleState& the_state = detail::module_state;

constexpr std::string_view keyword_texts[keyword_count] = {"major", "minor", "patch", "rc",
                                                           "meta",  "parts", "value"};

// Owned with the state; only the stand-ins use it.
PyTypeObject* stand_in_type = nullptr;

}  // namespace

void release_state() noexcept {
  for (PyTypeObject* cls : the_state.classes) Py_XDECREF(cls);
  for (PyObject* stand_in : the_state.stand_ins) Py_XDECREF(stand_in);
  for (PyObject* name : the_state.keywords) Py_XDECREF(name);
  Py_XDECREF(the_state.internal_error);
  Py_XDECREF(stand_in_type);
  the_state = ModuleState();
  stand_in_type = nullptr;
}

namespace {

// T's class, its vectorcall entry installed where the interpreter allows it.
// A class that cannot be made is reported through the unraisable hook and
// turned into the module's internal failure.
template <class T>
PyTypeObject* make_class() {
  const ClassDef& def = BoundClass<T>::def;
  auto* cls = reinterpret_cast<PyTypeObject*>(class_from_spec(def.spec));
  if (cls == nullptr) {
    ensure_error_set();
    PyErr_WriteUnraisable(nullptr);
    raise_internal("An error occurred while initializing class " + std::string(class_name<T>()));
    return nullptr;
  }
#ifdef Py_TPFLAGS_IMMUTABLETYPE
  // Only an immutable class may have it: this entry would not see a __new__
  // assigned to the class later.
  if (def.vectorcall != nullptr) cls->tp_vectorcall = def.vectorcall;
#endif
  return cls;
}

// T's class and its stand-in, which the top module holds as "_" and the
// class's name.
template <class T>
bool add_class(PyObject* top) {
  PyTypeObject* cls = make_class<T>();
  the_state.classes[class_index<T>] = cls;
  if (cls == nullptr) return false;
  std::string name = "_";
  name.append(class_name<T>());
  PyObject* stand_in = new_class_stand_in(stand_in_type, cls, name.c_str());
  the_state.stand_ins[class_index<T>] = stand_in;
  return stand_in != nullptr && PyObject_SetAttrString(top, name.c_str(), stand_in) == 0;
}

bool fill_state(PyObject* top) {
  the_state.internal_error = PyErr_NewException("tolva.InternalError", PyExc_Exception, nullptr);
  if (the_state.internal_error == nullptr) return false;
  for (std::size_t i = 0; i < keyword_count; ++i) {
    PyObject* name = PyUnicode_FromStringAndSize(keyword_texts[i].data(),
                                                 static_cast<Py_ssize_t>(keyword_texts[i].size()));
    if (name == nullptr) return false;
    PyUnicode_InternInPlace(&name);
    the_state.keywords[i] = name;
  }
  stand_in_type = new_stand_in_type();
  if (stand_in_type == nullptr) return false;
  return add_class<Version>(top) && add_class<SemVer>(top) && add_class<DotSeparated>(top) &&
         add_class<Other>(top);
}

}  // namespace

std::string_view keyword_text(Keyword keyword) noexcept {
  return keyword_texts[static_cast<std::size_t>(keyword)];
}

bool build_state(PyObject* top) {
  if (fill_state(top)) return true;
  ensure_error_set();
  release_state();
  return false;
}

}  // namespace tolva::binding
