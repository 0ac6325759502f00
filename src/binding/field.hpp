#pragma once

#include "binding/py_ref.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "binding/bound_class.hpp"
#include "binding/convert.hpp"
#include "binding/errors.hpp"
#include "tolva/values/text_list.hpp"

// Attributes that read or replace one member of a class's value.
namespace tolva::binding {

// A keyword the constructors look up. Its str object is made on first use and
// kept for the life of the process, so a lookup neither allocates nor rehashes.
struct KeywordName {
  std::string_view text;
  PyObject* object = nullptr;
};

// One member of T: how a Python object becomes its value, the argument name
// a refused assignment reports, and the constructor keyword that sets it.
template <class T, class F>
struct Field {
  using Owner = T;
  F T::*member;
  std::optional<F> (*convert)(PyObject* obj);
  const char* argument;
  KeywordName keyword;
};

inline PyObject* to_python(std::uint32_t number) { return PyLong_FromUnsignedLong(number); }
inline PyObject* to_python(const std::string& text) { return new_str(text); }
inline PyObject* to_python(const TextList& list) { return new_str_list(list); }
inline PyObject* to_python(const OptionalTextList& list) {
  if (!list) Py_RETURN_NONE;
  return new_str_list(*list);
}

// Getter and setter for PyGetSetDef, with the Field as closure.
template <class T, class F>
PyObject* get_field(PyObject* self, void* closure) {
  const auto& field = *static_cast<const Field<T, F>*>(closure);
  return to_python(stored<T>(self).*field.member);
}

// The member changes only once the whole new value is converted, so a refused
// assignment leaves the object as it was.
template <class T, class F>
int set_field(PyObject* self, PyObject* value, void* closure) {
  if (value == nullptr) {
    raise(PyExc_AttributeError, "can't delete attribute");
    return -1;
  }
  const auto& field = *static_cast<const Field<T, F>*>(closure);
  std::optional<F> converted = field.convert(value);
  if (!converted) {
    prefix_argument_name(field.argument);
    return -1;
  }
  stored<T>(self).*field.member = std::move(*converted);
  return 0;
}

enum class Access { read_write, read_only, write_only };

// The attribute `name` of T's class for `field`, which outlives the class.
template <class T, class F>
PyGetSetDef attribute(const char* name, Field<T, F>& field, Access access = Access::read_write) {
  getter reader = access == Access::write_only ? nullptr : entry<get_field<T, F>>;
  setter writer = access == Access::read_only ? nullptr : entry<set_field<T, F>>;
  return {name, reader, writer, nullptr, &field};
}

}  // namespace tolva::binding
