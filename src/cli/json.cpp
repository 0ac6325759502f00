#include "json.hpp"

#include "kind.hpp"
#include "text/decimal.hpp"
#include "text/hex.hpp"
#include "text/properties.hpp"
#include "text/utf8.hpp"

namespace tolva::cli {
namespace {

// "\uXXXX", as a pair of surrogates above the Basic Multilingual Plane.
void append_json_escape(std::string& out, char32_t c) {
  if (c > 0xFFFF) {
    append_json_escape(out, 0xD800 + ((c - 0x10000) >> 10));
    append_json_escape(out, 0xDC00 + ((c - 0x10000) & 0x3FF));
    return;
  }
  out.append("\\u");
  append_hex(out, static_cast<std::uint32_t>(c), 4);
}

void append_list(std::string& out, TextSpan list) {
  out.push_back('[');
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (i > 0) out.push_back(',');
    append_json_string(out, list[i]);
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
  out.append("\"major\":");
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
  out.append("\"parts\":");
  append_list(out, v.parts);
}

void append_fields(std::string& out, const Other& v) {
  out.append("\"value\":");
  append_json_string(out, v.value);
}

}  // namespace

void append_json_string(std::string& out, std::string_view bytes) {
  out.push_back('"');
  for (std::size_t i = 0; i < bytes.size();) {
    char c = bytes[i];
    auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80) {
      text::Decoded d = text::decode_utf8(bytes, i);
      if (!d.well_formed) {
        text::append_utf8(out, U'\uFFFD');
      } else if (d.code_point <= 0x9F || text::is_format(d.code_point) ||
                 text::is_line_separator(d.code_point)) {
        // A C1 control, which a terminal may take as part of a command; a
        // format character, which changes how the text around it reads; a
        // line or paragraph separator, which breaks the line in some readers.
        append_json_escape(out, d.code_point);
      } else {
        out.append(bytes.substr(i, d.length));
      }
      i += d.length;
      continue;
    }
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(c);
    } else if (byte < 0x20 || byte == 0x7F) {
      append_json_escape(out, byte);
    } else {
      out.push_back(c);
    }
    ++i;
  }
  out.push_back('"');
}

void append_json_fields(std::string& out, const Version& v) {
  out.append("\"kind\":\"").append(kind_word(v.kind())).append("\",");
  v.visit([&](const auto& held) { append_fields(out, held); });
}

}  // namespace tolva::cli
