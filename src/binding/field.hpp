#pragma once

#include "binding/py_ref.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "binding/bound_class.hpp"
#include "binding/convert.hpp"
#include "binding/errors.hpp"
#include "binding/module_state.hpp"
#include "tolva/values/text_list.hpp"

// Attributes that read or replace one member of a class's value.
namespace tolva::binding {

// One member of T: how a Python object becomes its value, the argument name
// a refused assignment reports, and the constructor keyword that sets it.
template <class T, class F>
struct Field {
  using Owner = T;
  using Member = F;
  F T::*member;
  std::optional<F> (*convert)(PyObject* obj);
  const char* argument;
  Keyword keyword;
};

// A member T keeps in a form of its own: read as `Read` and replaced whole
// through T's functions.
template <class T, class F, class Read>
struct AccessorField {
  using Owner = T;
  using Member = F;
  Read (T::*read)() const noexcept;
  void (T::*write)(F);
  std::optional<F> (*convert)(PyObject* obj);
  const char* argument;
  Keyword keyword;
};

template <class T, class F>
const F& read_member(const T& value, const Field<T, F>& field) {
  return value.*field.member;
}
template <class T, class F>
void replace_member(T& value, const Field<T, F>& field, F&& member) {
  value.*field.member = std::move(member);
}
template <class T, class F, class Read>
Read read_member(const T& value, const AccessorField<T, F, Read>& field) {
  return (value.*field.read)();
}
template <class T, class F, class Read>
void replace_member(T& value, const AccessorField<T, F, Read>& field, F&& member) {
  (value.*field.write)(std::move(member));
}

inline PyObject* to_python(std::uint32_t number) { return PyLong_FromUnsignedLong(number); }
inline PyObject* to_python(const ShortText& text) { return new_str(text); }
inline PyObject* to_python(const TextList& list) { return new_str_list(list); }
inline PyObject* to_python(const OptionalTextSpan& list) {
  if (!list) Py_RETURN_NONE;
  return new_str_list(*list);
}

// Getter and setter for PyGetSetDef, with the field as closure.
template <class FieldT>
PyObject* get_field(PyObject* self, void* closure) {
  const auto& field = *static_cast<const FieldT*>(closure);
  return to_python(read_member(stored<typename FieldT::Owner>(self), field));
}

// The member changes only once the whole new value is converted, so a refused
// assignment leaves the object as it was.
template <class FieldT>
int set_field(PyObject* self, PyObject* value, void* closure) {
  if (value == nullptr) {
    raise(PyExc_AttributeError, "can't delete attribute");
    return -1;
  }
  const auto& field = *static_cast<const FieldT*>(closure);
  std::optional<typename FieldT::Member> converted = field.convert(value);
  if (!converted) {
    prefix_argument_name(field.argument);
    return -1;
  }
  replace_member(stored<typename FieldT::Owner>(self), field, std::move(*converted));
  return 0;
}

enum class Access { read_write, read_only, write_only };

// The attribute `name` of the field's class, which outlives the class.
template <class FieldT>
PyGetSetDef attribute(const char* name, FieldT& field, Access access = Access::read_write) {
  getter reader = access == Access::write_only ? nullptr : entry<get_field<FieldT>>;
  setter writer = access == Access::read_only ? nullptr : entry<set_field<FieldT>>;
  return {name, reader, writer, nullptr, &field};
}

}  // namespace tolva::binding
