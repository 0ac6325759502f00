// The SemVer class: a semantic version with five read-write fields.
#include "binding/typed_constructor.hpp"

#include <cstdint>
#include <string>

#include "tolva/grammar/parsers.hpp"

namespace tolva::binding {
namespace {

// One number field: its keyword and the argument name its setter reports.
struct NumberField {
  std::uint32_t SemVer::*member;
  KeywordName key;
  const char* argument;
};
// One optional list field: its keyword and the argument name its setter reports.
struct ListField {
  OptionalTextList SemVer::*member;
  KeywordName key;
  const char* argument;
};

NumberField major_field{&SemVer::major, {"major"}, "new_major"};
NumberField minor_field{&SemVer::minor, {"minor"}, "new_minor"};
NumberField patch_field{&SemVer::patch, {"patch"}, "new_patch"};
ListField rc_field{&SemVer::rc, {"rc"}, "new_rc"};
ListField meta_field{&SemVer::meta, {"meta"}, "new_meta"};

SemVer& stored_mut(PyObject* self) noexcept { return value_of<SemVerObject>(self); }
const SemVer& stored(PyObject* self) noexcept { return value_of<SemVerObject>(self); }

// Every field is looked up and converted, in field order, before the keys are checked.
std::optional<SemVer> semver_from_keywords(PyObject* kwargs) {
  SemVer value;
  for (NumberField* field : {&major_field, &minor_field, &patch_field}) {
    std::optional<PyRef> item = keyword_value(kwargs, field->key);
    if (!item) return std::nullopt;
    if (!*item) {
      std::string message = "Missing required keyword argument '";
      message.append(field->key.text).append("'");
      raise(PyExc_TypeError, message);
      return std::nullopt;
    }
    std::optional<std::uint32_t> number = to_u32(item->get());
    if (!number) return std::nullopt;
    value.*field->member = *number;
  }
  for (ListField* field : {&rc_field, &meta_field}) {
    std::optional<PyRef> item = keyword_value(kwargs, field->key);
    if (!item) return std::nullopt;
    if (!*item) continue;
    std::optional<OptionalTextList> list = to_optional_text_list(item->get());
    if (!list) return std::nullopt;
    value.*field->member = std::move(*list);
  }
  if (!check_keywords(kwargs, {"major", "minor", "patch", "rc", "meta"}, "SemVer")) {
    return std::nullopt;
  }
  return value;
}

const TypedClass<SemVer> semver_class{
    .name = "SemVer",
    .parse = parse_semver,
    .is_instance = is_semver,
    .stored = stored,
    .from_keywords = semver_from_keywords,
    .new_object = new_semver_object,
};

PyObject* semver_new(PyTypeObject* type, PyObject* args, PyObject* kwargs) {
  return construct_typed(semver_class, type, args, kwargs);
}

PyObject* semver_get_number(PyObject* self, void* closure) {
  const auto* field = static_cast<const NumberField*>(closure);
  return PyLong_FromUnsignedLong(stored(self).*field->member);
}

int semver_set_number(PyObject* self, PyObject* value, void* closure) {
  if (refuse_deletion(value)) return -1;
  const auto* field = static_cast<const NumberField*>(closure);
  return guarded(-1, [&] {
    std::optional<std::uint32_t> number = to_u32(value);
    if (!number) {
      prefix_argument_name(field->argument);
      return -1;
    }
    stored_mut(self).*field->member = *number;
    return 0;
  });
}

PyObject* semver_get_list(PyObject* self, void* closure) {
  const auto* field = static_cast<const ListField*>(closure);
  const OptionalTextList& list = stored(self).*field->member;
  if (!list) Py_RETURN_NONE;
  return new_str_list(*list);
}

int semver_set_list(PyObject* self, PyObject* value, void* closure) {
  if (refuse_deletion(value)) return -1;
  const auto* field = static_cast<const ListField*>(closure);
  return guarded(-1, [&] {
    std::optional<OptionalTextList> list = to_optional_text_list(value);
    if (!list) {
      prefix_argument_name(field->argument);
      return -1;
    }
    stored_mut(self).*field->member = std::move(*list);
    return 0;
  });
}

PyObject* semver_str(PyObject* self) {
  return guarded<PyObject*>(nullptr, [&] {
    return form_to_str<SemVer>(append_text_form, stored(self));
  });
}

PyObject* semver_repr(PyObject* self) {
  return guarded<PyObject*>(nullptr, [&] {
    return form_to_str<SemVer>(append_debug_form, stored(self));
  });
}

PyObject* semver_richcompare(PyObject* self, PyObject* other, int op) {
  // The interpreter calls this slot with an instance of the class as `self`.
  if (!is_semver(other)) Py_RETURN_NOTIMPLEMENTED;
  return compare_values(stored(self), stored(other), op);
}

PyGetSetDef semver_getset[] = {
    {"major", semver_get_number, semver_set_number, nullptr, &major_field},
    {"minor", semver_get_number, semver_set_number, nullptr, &minor_field},
    {"patch", semver_get_number, semver_set_number, nullptr, &patch_field},
    {"rc", semver_get_list, semver_set_list, nullptr, &rc_field},
    {"meta", semver_get_list, semver_set_list, nullptr, &meta_field},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

PyType_Slot semver_slots[] = {
    {Py_tp_doc,
     const_cast<char*>("SemVer(*args, **kwargs)\n--\n\nPython wrapper type for [`SemVer`]")},
    {Py_tp_new, reinterpret_cast<void*>(semver_new)},
    {Py_tp_dealloc, reinterpret_cast<void*>(typed_dealloc<SemVerObject, SemVer>)},
    {Py_tp_str, reinterpret_cast<void*>(semver_str)},
    {Py_tp_repr, reinterpret_cast<void*>(semver_repr)},
    {Py_tp_richcompare, reinterpret_cast<void*>(semver_richcompare)},
    {Py_tp_getset, semver_getset},
    {0, nullptr},
};

PyType_Spec semver_spec = {
    .name = "builtins.SemVer",
    .basicsize = sizeof(SemVerObject),
    .itemsize = 0,
    .flags = Py_TPFLAGS_DEFAULT,
    .slots = semver_slots,
};

PyTypeObject* semver_cache = nullptr;

}  // namespace

PyTypeObject* semver_type() noexcept { return cached_type(semver_cache, semver_spec); }

bool is_semver(PyObject* obj) noexcept { return is_instance_of(semver_type(), obj); }

PyObject* new_semver_object(PyTypeObject* type, SemVer&& value) noexcept {
  return new_typed_object<SemVerObject>(type, std::move(value));
}

}  // namespace tolva::binding
