// The DotSeparated class: a version made of an ordered list of text parts.
#include "binding/typed_constructor.hpp"

#include "tolva/grammar/parsers.hpp"

namespace tolva::binding {
namespace {

DotSeparated& stored_mut(PyObject* self) noexcept { return value_of<DotSeparatedObject>(self); }
const DotSeparated& stored(PyObject* self) noexcept { return value_of<DotSeparatedObject>(self); }

KeywordName parts_keyword{"parts"};

std::optional<DotSeparated> dot_separated_from_keywords(PyObject* kwargs) {
  std::optional<PyRef> item = keyword_value(kwargs, parts_keyword);
  if (!item) return std::nullopt;
  if (!*item) {
    raise(PyExc_ValueError, "invalid input to argument 'parts'");
    return std::nullopt;
  }
  std::optional<TextList> parts = to_text_list(item->get());
  if (!parts) return std::nullopt;
  if (!check_keywords(kwargs, {"parts"}, "DotSeparated")) return std::nullopt;
  return DotSeparated{std::move(*parts)};
}

const TypedClass<DotSeparated> dot_separated_class{
    .name = "DotSeparated",
    .parse = parse_dot_separated,
    .is_instance = is_dot_separated,
    .stored = stored,
    .from_keywords = dot_separated_from_keywords,
    .new_object = new_dot_separated_object,
};

PyObject* dot_separated_new(PyTypeObject* type, PyObject* args, PyObject* kwargs) {
  return construct_typed(dot_separated_class, type, args, kwargs);
}

PyObject* dot_separated_get_parts(PyObject* self, void*) {
  return new_str_list(stored(self).parts);
}

int dot_separated_set_parts(PyObject* self, PyObject* value, void*) {
  if (refuse_deletion(value)) return -1;
  return guarded(-1, [&] {
    std::optional<TextList> parts = to_text_list(value);
    if (!parts) {
      prefix_argument_name("new_parts");
      return -1;
    }
    stored_mut(self).parts = std::move(*parts);
    return 0;
  });
}

PyObject* dot_separated_str(PyObject* self) {
  return guarded<PyObject*>(nullptr, [&] {
    return form_to_str<DotSeparated>(append_text_form, stored(self));
  });
}

PyObject* dot_separated_repr(PyObject* self) {
  return guarded<PyObject*>(nullptr, [&] {
    return form_to_str<DotSeparated>(append_debug_form, stored(self));
  });
}

PyObject* dot_separated_richcompare(PyObject* self, PyObject* other, int op) {
  // The interpreter calls this slot with an instance of the class as `self`.
  if (!is_dot_separated(other)) Py_RETURN_NOTIMPLEMENTED;
  return compare_values(stored(self), stored(other), op);
}

PyGetSetDef dot_separated_getset[] = {
    {"parts", dot_separated_get_parts, dot_separated_set_parts, nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

PyType_Slot dot_separated_slots[] = {
    {Py_tp_doc, const_cast<char*>(
                    "DotSeparated(*args, **kwargs)\n--\n\nPython wrapper around [`DotSeparated`]")},
    {Py_tp_new, reinterpret_cast<void*>(dot_separated_new)},
    {Py_tp_dealloc, reinterpret_cast<void*>(typed_dealloc<DotSeparatedObject, DotSeparated>)},
    {Py_tp_str, reinterpret_cast<void*>(dot_separated_str)},
    {Py_tp_repr, reinterpret_cast<void*>(dot_separated_repr)},
    {Py_tp_richcompare, reinterpret_cast<void*>(dot_separated_richcompare)},
    {Py_tp_getset, dot_separated_getset},
    {0, nullptr},
};

PyType_Spec dot_separated_spec = {
    .name = "builtins.DotSeparated",
    .basicsize = sizeof(DotSeparatedObject),
    .itemsize = 0,
    .flags = Py_TPFLAGS_DEFAULT,
    .slots = dot_separated_slots,
};

PyTypeObject* dot_separated_cache = nullptr;

}  // namespace

PyTypeObject* dot_separated_type() noexcept {
  return cached_type(dot_separated_cache, dot_separated_spec);
}

bool is_dot_separated(PyObject* obj) noexcept { return is_instance_of(dot_separated_type(), obj); }

PyObject* new_dot_separated_object(PyTypeObject* type, DotSeparated&& value) noexcept {
  return new_typed_object<DotSeparatedObject>(type, std::move(value));
}

}  // namespace tolva::binding
