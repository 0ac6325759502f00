#include "scheme_forms.hpp"

#include "json.hpp"

namespace tolva::cli {
namespace {

void append_value(std::string& out, const Field& f, std::string_view none) {
  switch (f.form) {
    case Field::Form::number: out.append(f.value); return;
    case Field::Form::text: append_json_string(out, f.value); return;
    case Field::Form::absent: out.append(none); return;
    case Field::Form::list: break;
  }
  out.push_back('[');
  for (std::size_t i = 0; i < f.items.size(); ++i) {
    if (i > 0) out.append(none == "null" ? "," : ", ");
    append_json_string(out, f.items[i]);
  }
  out.push_back(']');
}

}  // namespace

void append_scheme_json_fields(std::string& out, Scheme s, const std::vector<Field>& fields) {
  out.append("\"scheme\":");
  append_json_string(out, scheme::name(s));
  for (const Field& f : fields) {
    out.append(",\"").append(f.name).append("\":");
    append_value(out, f, "null");
  }
}

void append_scheme_debug_form(std::string& out, Scheme s, const std::vector<Field>& fields) {
  out.append(scheme::name(s)).append(" {");
  const char* separator = " ";
  for (const Field& f : fields) {
    out.append(separator).append(f.name).append(": ");
    append_value(out, f, "None");
    separator = ", ";
  }
  out.append(" }");
}

}  // namespace tolva::cli
