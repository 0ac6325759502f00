// The Other class: a free-form version text, read as `value` and replaced
// through the write-only attribute `parts`.
#include "binding/typed_constructor.hpp"

namespace tolva::binding {
namespace {

Field<Other, ShortText> value_field{&Other::value, to_short_text, "new_value", Keyword::value};

const TypedClass<Other> other_class{type_path::other, required_field_from_keywords<value_field>};

PyGetSetDef other_getset[] = {
    attribute("value", value_field, Access::read_only),
    attribute("parts", value_field, Access::write_only),
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

const PyType_Slot other_slots[] = {
    {Py_tp_doc,
     const_cast<char*>(
         "Other(*args, **kwargs)\n--\n\nPython wrapper around the [`Other`] version type")},
    {Py_tp_new, slot<construct_typed<Other, other_class>>()},
    {Py_tp_getset, other_getset},
};

}  // namespace

template <>
ClassDef BoundClass<Other>::def = class_def<Other>("builtins.Other", other_slots);

}  // namespace tolva::binding
