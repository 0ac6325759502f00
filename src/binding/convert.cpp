#include "binding/convert.hpp"

#include <algorithm>
#include <vector>

#include "binding/errors.hpp"

namespace tolva::binding {
namespace {

constexpr long long u32_max = 4294967295LL;

// Room reserved up front is only a hint: a sequence may report any length it
// likes, so a huge one must not turn into a huge allocation.
constexpr Py_ssize_t max_reserved_parts = 1024;

// The value of an exact or derived int as a signed 64-bit number.
std::optional<long long> long_value(PyObject* number) {
  long long value = PyLong_AsLongLong(number);
  if (value == -1 && PyErr_Occurred()) return std::nullopt;
  return value;
}

// "'<qualname>' object cannot be converted to '<target>'" as a TypeError.
void raise_cannot_convert(PyObject* obj, std::string_view target) {
  std::string message = "'";
  message += type_qualname(obj);
  message += "' object cannot be converted to '";
  message += target;
  message += "'";
  raise(PyExc_TypeError, message);
}

// The value of a str, or empty without an exception when `found` is not one.
std::optional<std::string> str_attribute_text(PyObject* found) {
  if (found == nullptr || !PyUnicode_Check(found)) return std::nullopt;
  std::optional<std::string_view> view = utf8_view(found);
  if (!view) return std::nullopt;
  return std::string(*view);
}

// The UTF-8 of a str (or subclass), refused as to_text describes.
std::optional<std::string_view> text_view(PyObject* obj) {
  if (!PyUnicode_Check(obj)) {
    raise_cannot_convert(obj, "PyString");
    return std::nullopt;
  }
  return utf8_view(obj);
}

}  // namespace

std::optional<std::uint32_t> to_u32(PyObject* obj) {
  std::optional<long long> value;
  if (PyLong_Check(obj)) {
    value = long_value(obj);
  } else {
    PyRef index = PyRef::steal(PyNumber_Index(obj));
    if (!index) {
      ensure_error_set();
      return std::nullopt;
    }
    value = long_value(index.get());
  }
  if (!value) return std::nullopt;
  if (*value < 0 || *value > u32_max) {
    raise(PyExc_OverflowError, "out of range integral type conversion attempted");
    return std::nullopt;
  }
  return static_cast<std::uint32_t>(*value);
}

std::optional<std::string> to_text(PyObject* obj) {
  std::optional<std::string_view> view = text_view(obj);
  if (!view) return std::nullopt;
  return std::string(*view);
}

std::optional<ShortText> to_short_text(PyObject* obj) {
  std::optional<std::string_view> view = text_view(obj);
  if (!view) return std::nullopt;
  return ShortText(*view);
}

std::optional<TextList> to_text_list(PyObject* obj) {
  if (PyUnicode_Check(obj)) {
    raise(PyExc_TypeError, "Can't extract `str` to `Vec`");
    return std::nullopt;
  }
  if (!PySequence_Check(obj)) {
    raise_cannot_convert(obj, "Sequence");
    return std::nullopt;
  }
  TextList list;
  Py_ssize_t length = PySequence_Size(obj);
  if (length < 0) {
    // The length only sizes the reservation, so its failure is dropped; but
    // an interrupt or an exit request (not an Exception) must reach the caller.
    if (PyErr_Occurred() && !PyErr_ExceptionMatches(PyExc_Exception)) return std::nullopt;
    PyErr_Clear();
  } else {
    list.reserve(static_cast<std::size_t>(std::min(length, max_reserved_parts)));
  }

  PyRef iterator = PyRef::steal(PyObject_GetIter(obj));
  if (!iterator) {
    ensure_error_set();
    return std::nullopt;
  }
  while (PyRef item = PyRef::steal(PyIter_Next(iterator.get()))) {
    std::optional<ShortText> text = to_short_text(item.get());
    if (!text) return std::nullopt;
    list.push_back(std::move(*text));
  }
  if (PyErr_Occurred()) return std::nullopt;
  return list;
}

std::optional<OptionalTextList> to_optional_text_list(PyObject* obj) {
  if (obj == Py_None) return OptionalTextList();
  std::optional<TextList> list = to_text_list(obj);
  if (!list) return std::nullopt;
  return OptionalTextList(std::move(*list));
}

std::optional<std::string_view> utf8_view(PyObject* str) {
  Py_ssize_t size = 0;
  const char* data = PyUnicode_AsUTF8AndSize(str, &size);
  if (data == nullptr) {
    ensure_error_set();
    return std::nullopt;
  }
  return std::string_view(data, static_cast<std::size_t>(size));
}

PyObject* new_str(std::string_view utf8) noexcept {
  PyObject* str = PyUnicode_FromStringAndSize(utf8.data(), static_cast<Py_ssize_t>(utf8.size()));
  if (str == nullptr) ensure_error_set();
  return str;
}

PyObject* new_str_list(TextSpan list) {
  // Every str is made before the list: making a str runs no Python code, while
  // making the list may run the collector, whose finalizers may replace the
  // storage `list` points into.
  std::vector<PyRef> items;
  items.reserve(list.size());
  for (const ShortText& part : list) {
    items.push_back(PyRef::steal(new_str(part)));
    if (!items.back()) return nullptr;
  }
  PyRef result = PyRef::steal(PyList_New(static_cast<Py_ssize_t>(items.size())));
  if (!result) {
    ensure_error_set();
    return nullptr;
  }
  for (std::size_t i = 0; i < items.size(); ++i) {
    PyList_SET_ITEM(result.get(), static_cast<Py_ssize_t>(i), items[i].release());
  }
  return result.release();
}

std::string type_qualname(PyObject* obj) {
  PyRef name = PyRef::steal(
      PyObject_GetAttrString(reinterpret_cast<PyObject*>(Py_TYPE(obj)), "__qualname__"));
  std::optional<std::string> text = str_attribute_text(name.get());
  if (!text) {
    PyErr_Clear();
    return "<failed to extract type name>";
  }
  return std::move(*text);
}

std::optional<std::string> type_name(PyObject* obj) {
  PyRef name =
      PyRef::steal(PyObject_GetAttrString(reinterpret_cast<PyObject*>(Py_TYPE(obj)), "__name__"));
  if (!name) {
    ensure_error_set();
    return std::nullopt;
  }
  return to_text(name.get());
}

}  // namespace tolva::binding
