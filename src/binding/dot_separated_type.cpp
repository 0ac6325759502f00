// The DotSeparated class: a version made of an ordered list of text parts.
#include "binding/typed_constructor.hpp"

namespace tolva::binding {
namespace {

Field<DotSeparated, TextList> parts_field{&DotSeparated::parts, to_text_list, "new_parts",
                                          Keyword::parts};

const TypedClass<DotSeparated> dot_separated_class{type_path::dot_separated,
                                                   required_field_from_keywords<parts_field>};

PyGetSetDef dot_separated_getset[] = {
    attribute("parts", parts_field),
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

const PyType_Slot dot_separated_slots[] = {
    {Py_tp_doc, const_cast<char*>(
                    "DotSeparated(*args, **kwargs)\n--\n\nPython wrapper around [`DotSeparated`]")},
    {Py_tp_new, slot<construct_typed<DotSeparated, dot_separated_class>>()},
    {Py_tp_getset, dot_separated_getset},
};

}  // namespace

template <>
ClassDef BoundClass<DotSeparated>::def = class_def<DotSeparated>("builtins.DotSeparated",
                                                                 dot_separated_slots);

}  // namespace tolva::binding
