#pragma once

#include <span>
#include <string>
#include <string_view>

#include "tolva/log/field.hpp"

namespace tolva::log {

// Escape sequences around the parts of a field list; all empty without colour.
struct FieldStyle {
  std::string_view value;       // before each field: the level colour
  std::string_view name;        // before a field name: bold and the level colour
  std::string_view after_name;  // back from the name style to the value style
};

// Appends `fields` in order, separated by ", ": a message as its bare value,
// "log." fields skipped, "r#" stripped from names, other fields as
// `name: debug form`. False when a custom value cannot be formatted.
bool append_fields(std::string& out, std::span<const Field> fields, const FieldStyle& style);

// Appends the debug form of `value` of the field `name`: texts quoted,
// numbers in decimal, errors with their causes as `name.sources: [...]`, the
// label `name.sources` in the style of a field name.
bool append_debug(std::string& out, std::string_view name, const Value& value,
                  const FieldStyle& style);

}  // namespace tolva::log
