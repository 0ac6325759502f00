#include "scheme_forms.hpp"

#include <vector>

#include "json.hpp"
#include "tolva/scheme/debian.hpp"
#include "tolva/scheme/natural.hpp"
#include "tolva/scheme/semver.hpp"

namespace tolva::cli {
namespace {

// One part: a number, a text, a list of texts, or absent.
struct Field {
  enum class Form { number, text, list, absent };
  std::string_view name;
  Form form;
  std::string_view value;
  std::vector<std::string_view> items;
};

Field number(std::string_view name, std::string_view digits) {
  const std::size_t first = digits.find_first_not_of('0');
  return {name, Field::Form::number, first == digits.npos ? "0" : digits.substr(first), {}};
}
Field text(std::string_view name, std::string_view value) {
  return {name, Field::Form::text, value, {}};
}
// Dot-separated identifiers; none when empty.
Field identifiers(std::string_view name, std::string_view list) {
  if (list.empty()) return {name, Field::Form::absent, {}, {}};
  Field f{name, Field::Form::list, {}, {}};
  for (std::size_t dot; (dot = list.find('.')) != list.npos; list.remove_prefix(dot + 1)) {
    f.items.push_back(list.substr(0, dot));
  }
  f.items.push_back(list);
  return f;
}

std::string_view kind_word(natural::RunKind k) {
  switch (k) {
    case natural::RunKind::pre_release: return "pre-release";
    case natural::RunKind::unknown: return "word";
    case natural::RunKind::zero: return "zero";
    case natural::RunKind::post_release: return "post-release";
    case natural::RunKind::number: return "number";
    case natural::RunKind::letter_suffix: break;
  }
  return "letter suffix";
}

std::vector<Field> fields_of(Scheme s, std::string_view input) {
  switch (s) {
    case Scheme::semver: {
      const semver::Parts v = *semver::read(input);
      return {number("major", v.major), number("minor", v.minor), number("patch", v.patch),
              identifiers("prerelease", v.prerelease), identifiers("build", v.build)};
    }
    case Scheme::debian: {
      const debian::Parts v = *debian::read(input);
      Field revision = v.revision.empty() ? Field{"revision", Field::Form::absent, {}, {}}
                                          : text("revision", v.revision);
      return {number("epoch", v.epoch), text("upstream", v.upstream), std::move(revision)};
    }
    case Scheme::natural:
    case Scheme::tolva: break;
  }
  Field runs{"runs", Field::Form::list, {}, {}};
  Field kinds{"kinds", Field::Form::list, {}, {}};
  for (const natural::Run& run : natural::read(input)) {
    runs.items.push_back(run.text);
    kinds.items.push_back(kind_word(run.kind));
  }
  return {std::move(runs), std::move(kinds)};
}

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

void append_scheme_json_fields(std::string& out, Scheme s, std::string_view text) {
  out.append("\"scheme\":");
  append_json_string(out, scheme::name(s));
  for (const Field& f : fields_of(s, text)) {
    out.append(",\"").append(f.name).append("\":");
    append_value(out, f, "null");
  }
}

void append_scheme_debug_form(std::string& out, Scheme s, std::string_view text) {
  out.append(scheme::name(s)).append(" {");
  const char* separator = " ";
  for (const Field& f : fields_of(s, text)) {
    out.append(separator).append(f.name).append(": ");
    append_value(out, f, "None");
    separator = ", ";
  }
  out.append(" }");
}

}  // namespace tolva::cli
