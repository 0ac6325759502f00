#include "json.hpp"

#include <charconv>
#include <cstdint>
#include <string_view>
#include <variant>

namespace tolva::cli {
namespace {

constexpr char hex_digits[] = "0123456789abcdef";

void append_string(std::string& out, std::string_view text) {
  out.push_back('"');
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(c);
    } else if (byte < 0x20) {
      out.append("\\u00");
      out.push_back(hex_digits[byte >> 4]);
      out.push_back(hex_digits[byte & 0xF]);
    } else {
      out.push_back(c);
    }
  }
  out.push_back('"');
}

void append_number(std::string& out, std::uint32_t n) {
  char digits[10];
  auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
  out.append(digits, end);
}

void append_list(std::string& out, TextSpan list) {
  out.push_back('[');
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (i > 0) out.push_back(',');
    append_string(out, list[i]);
  }
  out.push_back(']');
}

void append_optional_list(std::string& out, const OptionalTextSpan& list) {
  if (list) {
    append_list(out, *list);
  } else {
    out.append("null");
  }
}

void append_fields(std::string& out, const SemVer& v) {
  out.append("\"kind\":\"semver\",\"major\":");
  append_number(out, v.major);
  out.append(",\"minor\":");
  append_number(out, v.minor);
  out.append(",\"patch\":");
  append_number(out, v.patch);
  out.append(",\"rc\":");
  append_optional_list(out, v.rc());
  out.append(",\"meta\":");
  append_optional_list(out, v.meta());
}

void append_fields(std::string& out, const DotSeparated& v) {
  out.append("\"kind\":\"dot-separated\",\"parts\":");
  append_list(out, v.parts);
}

void append_fields(std::string& out, const Other& v) {
  out.append("\"kind\":\"other\",\"value\":");
  append_string(out, v.value);
}

}  // namespace

void append_json(std::string& out, const Version& v) {
  out.push_back('{');
  std::visit([&](const auto& held) { append_fields(out, held); }, v.value);
  out.push_back('}');
}

}  // namespace tolva::cli
