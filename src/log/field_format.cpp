#include "field_format.hpp"

#include <charconv>
#include <cmath>

#include "clean_text.hpp"
#include "text/decimal.hpp"

namespace tolva::log {
namespace {

// Appends a float in decimal, as 3.0, 0.25, 1e16 or 1e-7, NaN and inf.
void append_float(std::string& out, double number) {
  if (std::isnan(number)) {
    out += "NaN";
    return;
  }
  if (std::isinf(number)) {
    out += number < 0 ? "-inf" : "inf";
    return;
  }
  const double magnitude = std::fabs(number);
  const bool scientific = magnitude != 0 && (magnitude < 1e-4 || magnitude >= 1e16);
  char digits[64];
  const auto [end, ec] = std::to_chars(
      digits, digits + sizeof digits, number,
      scientific ? std::chars_format::scientific : std::chars_format::fixed);
  (void)ec;  // 64 bytes hold the shortest form of any double below 1e16
  const std::string_view text(digits, static_cast<std::size_t>(end - digits));
  if (!scientific) {
    out += text;
    if (text.find('.') == std::string_view::npos) out += ".0";
    return;
  }
  // to_chars writes 1e+16 and 1e-07; the exponent is written bare.
  const std::size_t e = text.find('e');
  out.append(text.substr(0, e + 1));
  std::string_view exponent = text.substr(e + 1);
  if (exponent.front() == '-') out += '-';
  if (exponent.front() == '-' || exponent.front() == '+') exponent.remove_prefix(1);
  while (exponent.size() > 1 && exponent.front() == '0') exponent.remove_prefix(1);
  out += exponent;
}

// The label of the causes, "name.sources", is a field name of its own and is
// styled as one.
void append_error(std::string& out, std::string_view name, const ErrorValue& error,
                  const FieldStyle& style) {
  append_clean(out, error.message);
  if (error.cause == nullptr) return;
  out += ", ";
  out += style.name;
  append_clean(out, name);
  out += ".sources";
  out += style.after_name;
  out += ": [";
  for (const ErrorValue* cause = error.cause; cause != nullptr; cause = cause->cause) {
    if (cause != error.cause) out += ", ";
    append_clean(out, cause->message);
  }
  out += ']';
}

}  // namespace

bool append_debug(std::string& out, std::string_view name, const Value& value,
                  const FieldStyle& style) {
  switch (value.kind()) {
    case Value::Kind::text: append_quoted_text(out, value.text()); return true;
    case Value::Kind::signed_integer: append_decimal(out, value.signed_integer()); return true;
    case Value::Kind::unsigned_integer: append_decimal(out, value.unsigned_integer()); return true;
    case Value::Kind::floating: append_float(out, value.floating()); return true;
    case Value::Kind::boolean: out += value.boolean() ? "true" : "false"; return true;
    case Value::Kind::error: append_error(out, name, value.error(), style); return true;
    case Value::Kind::custom: {
      // A custom formatter writes raw text; clean it in place.
      const std::size_t start = out.size();
      if (!value.format_custom(out)) return false;
      if (!is_clean(std::string_view(out).substr(start))) {
        std::string raw = out.substr(start);
        out.resize(start);
        append_clean(out, raw);
      }
      return true;
    }
  }
  return true;
}

bool append_fields(std::string& out, std::span<const Field> fields, const FieldStyle& style) {
  bool first = true;
  for (const Field& field : fields) {
    std::string_view name = field.name;
    if (name.starts_with("log.")) continue;
    if (!first) out += ", ";
    first = false;
    if (name == "message") {
      out += style.value;
      if (field.value.kind() == Value::Kind::text) {
        append_clean(out, field.value.text());
      } else if (!append_debug(out, name, field.value, style)) {
        return false;
      }
      continue;
    }
    if (name.starts_with("r#")) name.remove_prefix(2);
    out += style.name;
    append_clean(out, name);
    out += style.after_name;
    out += ": ";
    if (!append_debug(out, field.name, field.value, style)) return false;
  }
  return true;
}

}  // namespace tolva::log
