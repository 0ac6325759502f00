#pragma once

#include "binding/py_ref.hpp"

#include <expected>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>

#include "binding/bound_class.hpp"
#include "binding/convert.hpp"
#include "binding/errors.hpp"
#include "binding/field.hpp"
#include "binding/rejected_text.hpp"
#include "binding/type_paths.hpp"
#include "tolva/grammar/readers.hpp"

// The constructor shared by SemVer, DotSeparated and Other. A call with a
// keyword dictionary (even an empty one) takes the keyword form, which each
// class reads itself; a call without takes the positional form, which accepts
// one version text, one object of the class or one Version holding that kind.
namespace tolva::binding {

// What the shared constructor needs to know about one typed class.
template <class T>
struct TypedClass {
  // The value from the keyword dictionary (possibly empty); empty with an exception set.
  std::optional<T> (*from_keywords)(PyObject* kwargs);
};

// The value under `key` as a new reference, or a null PyRef when the key is
// missing; empty with an exception set when the lookup fails.
std::optional<PyRef> keyword_value(PyObject* kwargs, Keyword key);

// Checks every key, in the dictionary's order, against `accepted`; the first
// other key raises ValueError "'<key>' is an invalid keyword argument for <name>()".
bool check_keywords(PyObject* kwargs, std::initializer_list<std::string_view> accepted,
                    std::string_view name);

// The refusals of the positional form; each sets the exception.
void raise_requires_arguments(std::string_view name);
void raise_expected_kind(std::string_view name, const Version& found);
void raise_cannot_construct(std::string_view name, PyObject* arg);
void raise_args_and_kwargs();

// The keyword form of a class whose value is one field, which must be given.
template <auto& field>
auto required_field_from_keywords(PyObject* kwargs)
    -> std::optional<typename std::remove_cvref_t<decltype(field)>::Owner> {
  using T = typename std::remove_cvref_t<decltype(field)>::Owner;
  std::optional<PyRef> item = keyword_value(kwargs, field.keyword);
  if (!item) return std::nullopt;
  if (!*item) {
    std::string message = "invalid input to argument '";
    message.append(keyword_text(field.keyword)).append("'");
    raise(PyExc_ValueError, message);
    return std::nullopt;
  }
  auto converted = field.convert(item->get());
  if (!converted) return std::nullopt;
  if (!check_keywords(kwargs, {keyword_text(field.keyword)}, class_name<T>())) return std::nullopt;
  return T{std::move(*converted)};
}

// The value for a call without keywords; empty with an exception set.
template <class T>
std::optional<T> value_from_arguments(PyObject* args) {
  const Py_ssize_t count = PyTuple_GET_SIZE(args);
  if (count == 0) {
    raise_requires_arguments(class_name<T>());
    return std::nullopt;
  }
  if (count > 1) {
    raise_internal("not yet implemented");
    return std::nullopt;
  }
  PyObject* arg = PyTuple_GET_ITEM(args, 0);
  // A text is always parsed, never matched against the classes.
  if (PyUnicode_Check(arg)) {
    std::optional<std::string_view> text = utf8_view(arg);
    if (!text) return std::nullopt;
    std::expected<T, grammar::ParseError> reading = parse_as<T>(*text);
    if (!reading) {
      raise_rejected_text(*text, reading.error(), type_path<T>);
      return std::nullopt;
    }
    return std::move(*reading);
  }
  if (is_instance<T>(arg)) return stored<T>(arg);
  if (is_instance<Version>(arg)) {
    const Version& version = stored<Version>(arg);
    if (const T* held = std::get_if<T>(&version.value)) return *held;
    raise_expected_kind(class_name<T>(), version);
    return std::nullopt;
  }
  raise_cannot_construct(class_name<T>(), arg);
  return std::nullopt;
}

// tp_new of a typed class. The value is complete before the object is allocated,
// so a failure leaves nothing behind.
template <class T, const TypedClass<T>& cls>
PyObject* construct_typed(PyTypeObject* type, PyObject* args, PyObject* kwargs) {
  std::optional<T> value;
  if (kwargs != nullptr && kwargs != Py_None) {
    if (PyTuple_GET_SIZE(args) != 0) {
      raise_args_and_kwargs();
      return nullptr;
    }
    value = cls.from_keywords(kwargs);
  } else {
    value = value_from_arguments<T>(args);
  }
  if (!value) return nullptr;
  return new_instance(type, std::move(*value));
}

}  // namespace tolva::binding
