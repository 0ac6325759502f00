#include "binding/reduce.hpp"

#include <string>
#include <type_traits>
#include <utility>
#include <variant>

#include "binding/bound_class.hpp"
#include "binding/field.hpp"
#include "binding/module_state.hpp"
#include "tolva/grammar/reads_back.hpp"

// An instance reduces to its class's stand-in called with the value's text
// form when the class's own grammar reads that text back to the very same
// value (every value read from a text, and most built from fields), which is
// the shortest pickle, the quickest to load and the least memory to make: the
// text and its str alone. Any other value reduces to its fields: a typed class
// is called with a fixed text and the fields are then set through its
// properties (pickle's state form, which sets attributes); a Version is
// called with an instance of the typed class that holds its value. Loading
// thus goes through the constructors and setters alone, so a pickle that was
// not made here gets their checks and exceptions.
namespace tolva::binding {
namespace {

// A new instance of `type` holding a copy of `value`.
template <class T>
PyObject* copy_of(PyTypeObject* type, const T& value) {
  if (type == nullptr) return nullptr;
  return new_instance(type, T(value));
}

// (cls, (first,)) or, with a state, (cls, (first,), (None, state)).
PyObject* make_reduction(PyObject* cls, PyRef first, PyRef state = PyRef()) {
  if (!first) return nullptr;
  PyRef args = PyRef::steal(PyTuple_Pack(1, first.get()));
  if (!args) return nullptr;
  if (!state) return PyTuple_Pack(2, cls, args.get());
  PyRef slots = PyRef::steal(PyTuple_Pack(2, Py_None, state.get()));
  return slots ? PyTuple_Pack(3, cls, args.get(), slots.get()) : nullptr;
}

// Sets `name` in `dict` to the new reference `value`, which may be null after
// a failed call; false with an exception set.
bool put(const PyRef& dict, const char* name, PyObject* value) {
  PyRef owned = PyRef::steal(value);
  return owned && PyDict_SetItemString(dict.get(), name, owned.get()) == 0;
}

PyObject* field_reduction(PyObject* cls, const SemVer& v) {
  PyRef state = PyRef::steal(PyDict_New());
  if (!state || !put(state, "major", PyLong_FromUnsignedLong(v.major)) ||
      !put(state, "minor", PyLong_FromUnsignedLong(v.minor)) ||
      !put(state, "patch", PyLong_FromUnsignedLong(v.patch)) ||
      !put(state, "rc", to_python(v.rc())) || !put(state, "meta", to_python(v.meta()))) {
    return nullptr;
  }
  return make_reduction(cls, PyRef::steal(new_str("0.0.0")), std::move(state));
}
PyObject* field_reduction(PyObject* cls, const DotSeparated& v) {
  PyRef state = PyRef::steal(PyDict_New());
  if (!state || !put(state, "parts", to_python(v.parts))) return nullptr;
  return make_reduction(cls, PyRef::steal(new_str("")), std::move(state));
}
PyObject* field_reduction(PyObject* cls, const Other& v) {
  // Other's `parts` is the write-only property that replaces `value`.
  PyRef state = PyRef::steal(PyDict_New());
  if (!state || !put(state, "parts", to_python(v.value))) return nullptr;
  return make_reduction(cls, PyRef::steal(new_str("_")), std::move(state));
}
PyObject* field_reduction(PyObject* cls, const Version& v) {
  PyObject* held = std::visit(
      [](const auto& value) {
        using Held = std::decay_t<decltype(value)>;
        return copy_of(class_object<Held>(), value);
      },
      v.value);
  return make_reduction(cls, PyRef::steal(held));
}

template <class T>
PyObject* reduce(PyObject* self, PyObject*) {
  PyObject* cls = state().stand_ins[class_index<T>];
  // Written and judged in C++ alone, so the text is of one consistent value;
  // the tuples made below may run the collector, whose finalizers may replace
  // the object's lists, and by then the text is the function's own.
  std::string text;
  append_text_form(text, stored<T>(self));
  if (reads_back(stored<T>(self), text)) {
    return make_reduction(cls, PyRef::steal(new_str(text)));
  }
  // A copy, for the same reason: nothing after this line reads the object.
  const T value = stored<T>(self);
  return field_reduction(cls, value);
}

// Serves __copy__ and __deepcopy__ alike: a value holds no Python objects, and
// every copy of it is deep.
template <class T>
PyObject* copy_instance(PyObject* self, PyObject*) {
  return copy_of(Py_TYPE(self), stored<T>(self));
}

}  // namespace

template <class T>
PyMethodDef* reduce_methods() noexcept {
  static PyMethodDef methods[] = {
      {"__reduce__", entry<reduce<T>>, METH_NOARGS,
       "__reduce__($self, /)\n--\n\nReturn state information for pickling."},
      {"__copy__", entry<copy_instance<T>>, METH_NOARGS,
       "__copy__($self, /)\n--\n\nReturn a copy."},
      {"__deepcopy__", entry<copy_instance<T>>, METH_O,
       "__deepcopy__($self, memo, /)\n--\n\nReturn a copy; every copy is deep."},
      {nullptr, nullptr, 0, nullptr},
  };
  return methods;
}

template PyMethodDef* reduce_methods<Version>() noexcept;
template PyMethodDef* reduce_methods<SemVer>() noexcept;
template PyMethodDef* reduce_methods<DotSeparated>() noexcept;
template PyMethodDef* reduce_methods<Other>() noexcept;

}  // namespace tolva::binding
