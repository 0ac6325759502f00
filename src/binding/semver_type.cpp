// The SemVer class: a semantic version with five read-write fields.
#include <cstdint>
#include <string>

#include "binding/typed_constructor.hpp"

namespace tolva::binding {
namespace {

using NumberField = Field<SemVer, std::uint32_t>;
using ListField = AccessorField<SemVer, OptionalTextList, OptionalTextSpan>;

NumberField major_field{&SemVer::major, to_u32, "new_major", Keyword::major};
NumberField minor_field{&SemVer::minor, to_u32, "new_minor", Keyword::minor};
NumberField patch_field{&SemVer::patch, to_u32, "new_patch", Keyword::patch};
ListField rc_field{&SemVer::rc, &SemVer::set_rc, to_optional_text_list, "new_rc", Keyword::rc};
ListField meta_field{&SemVer::meta, &SemVer::set_meta, to_optional_text_list, "new_meta",
                     Keyword::meta};

// Every field is looked up and converted, in field order, before the keys are checked.
std::optional<SemVer> semver_from_keywords(PyObject* kwargs) {
  SemVer value;
  for (NumberField* field : {&major_field, &minor_field, &patch_field}) {
    std::optional<PyRef> item = keyword_value(kwargs, field->keyword);
    if (!item) return std::nullopt;
    if (!*item) {
      std::string message = "Missing required keyword argument '";
      message.append(keyword_text(field->keyword)).append("'");
      raise(PyExc_TypeError, message);
      return std::nullopt;
    }
    std::optional<std::uint32_t> number = to_u32(item->get());
    if (!number) return std::nullopt;
    value.*field->member = *number;
  }
  for (ListField* field : {&rc_field, &meta_field}) {
    std::optional<PyRef> item = keyword_value(kwargs, field->keyword);
    if (!item) return std::nullopt;
    if (!*item) continue;
    std::optional<OptionalTextList> list = to_optional_text_list(item->get());
    if (!list) return std::nullopt;
    replace_member(value, *field, std::move(*list));
  }
  if (!check_keywords(kwargs, {"major", "minor", "patch", "rc", "meta"}, "SemVer")) {
    return std::nullopt;
  }
  return value;
}

const TypedClass<SemVer> semver_class{type_path::semver, semver_from_keywords};

PyGetSetDef semver_getset[] = {
    attribute("major", major_field), attribute("minor", minor_field),
    attribute("patch", patch_field), attribute("rc", rc_field),
    attribute("meta", meta_field),   {nullptr, nullptr, nullptr, nullptr, nullptr},
};

const PyType_Slot semver_slots[] = {
    {Py_tp_doc,
     const_cast<char*>("SemVer(*args, **kwargs)\n--\n\nPython wrapper type for [`SemVer`]")},
    {Py_tp_new, slot<construct_typed<SemVer, semver_class>>()},
    {Py_tp_getset, semver_getset},
};

}  // namespace

template <>
ClassDef BoundClass<SemVer>::def = class_def<SemVer>("builtins.SemVer", semver_slots);

}  // namespace tolva::binding
