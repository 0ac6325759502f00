#include "json.hpp"

#include <string_view>
#include <variant>

#include "text/decimal.hpp"
#include "text/hex.hpp"

namespace tolva::cli {
namespace {

void append_string(std::string& out, std::string_view text) {
  out.push_back('"');
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(c);
    } else if (byte < 0x20) {
      out.append("\\u");
      append_hex(out, byte, 4);
    } else {
      out.push_back(c);
    }
  }
  out.push_back('"');
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
  append_decimal(out, v.major);
  out.append(",\"minor\":");
  append_decimal(out, v.minor);
  out.append(",\"patch\":");
  append_decimal(out, v.patch);
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
