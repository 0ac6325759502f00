// The Other class: a free-form version text, read as `value` and replaced
// through the write-only attribute `parts`.
#include "binding/typed_constructor.hpp"

#include "tolva/grammar/parsers.hpp"

namespace tolva::binding {
namespace {

Other& stored_mut(PyObject* self) noexcept { return value_of<OtherObject>(self); }
const Other& stored(PyObject* self) noexcept { return value_of<OtherObject>(self); }

KeywordName value_keyword{"value"};

std::optional<Other> other_from_keywords(PyObject* kwargs) {
  std::optional<PyRef> item = keyword_value(kwargs, value_keyword);
  if (!item) return std::nullopt;
  if (!*item) {
    raise(PyExc_ValueError, "invalid input to argument 'value'");
    return std::nullopt;
  }
  std::optional<std::string> text = to_text(item->get());
  if (!text) return std::nullopt;
  if (!check_keywords(kwargs, {"value"}, "Other")) return std::nullopt;
  return Other{std::move(*text)};
}

const TypedClass<Other> other_class{
    .name = "Other",
    .parse = parse_other,
    .is_instance = is_other,
    .stored = stored,
    .from_keywords = other_from_keywords,
    .new_object = new_other_object,
};

PyObject* other_new(PyTypeObject* type, PyObject* args, PyObject* kwargs) {
  return construct_typed(other_class, type, args, kwargs);
}

PyObject* other_get_value(PyObject* self, void*) { return new_str(stored(self).value); }

int other_set_parts(PyObject* self, PyObject* value, void*) {
  if (refuse_deletion(value)) return -1;
  return guarded(-1, [&] {
    std::optional<std::string> text = to_text(value);
    if (!text) {
      prefix_argument_name("new_value");
      return -1;
    }
    stored_mut(self).value = std::move(*text);
    return 0;
  });
}

PyObject* other_str(PyObject* self) {
  return guarded<PyObject*>(nullptr, [&] {
    return form_to_str<Other>(append_text_form, stored(self));
  });
}

PyObject* other_repr(PyObject* self) {
  return guarded<PyObject*>(nullptr, [&] {
    return form_to_str<Other>(append_debug_form, stored(self));
  });
}

PyObject* other_richcompare(PyObject* self, PyObject* other, int op) {
  // The interpreter calls this slot with an instance of the class as `self`.
  if (!is_other(other)) Py_RETURN_NOTIMPLEMENTED;
  return compare_values(stored(self), stored(other), op);
}

PyGetSetDef other_getset[] = {
    {"value", other_get_value, nullptr, nullptr, nullptr},
    {"parts", nullptr, other_set_parts, nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

PyType_Slot other_slots[] = {
    {Py_tp_doc,
     const_cast<char*>(
         "Other(*args, **kwargs)\n--\n\nPython wrapper around the [`Other`] version type")},
    {Py_tp_new, reinterpret_cast<void*>(other_new)},
    {Py_tp_dealloc, reinterpret_cast<void*>(typed_dealloc<OtherObject, Other>)},
    {Py_tp_str, reinterpret_cast<void*>(other_str)},
    {Py_tp_repr, reinterpret_cast<void*>(other_repr)},
    {Py_tp_richcompare, reinterpret_cast<void*>(other_richcompare)},
    {Py_tp_getset, other_getset},
    {0, nullptr},
};

PyType_Spec other_spec = {
    .name = "builtins.Other",
    .basicsize = sizeof(OtherObject),
    .itemsize = 0,
    .flags = Py_TPFLAGS_DEFAULT,
    .slots = other_slots,
};

PyTypeObject* other_cache = nullptr;

}  // namespace

PyTypeObject* other_type() noexcept { return cached_type(other_cache, other_spec); }

bool is_other(PyObject* obj) noexcept { return is_instance_of(other_type(), obj); }

PyObject* new_other_object(PyTypeObject* type, Other&& value) noexcept {
  return new_typed_object<OtherObject>(type, std::move(value));
}

}  // namespace tolva::binding
