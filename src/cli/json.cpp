#include "json.hpp"

#include <variant>

#include "rejection.hpp"
#include "text/decimal.hpp"
#include "text/hex.hpp"
#include "text/utf8.hpp"

namespace tolva::cli {
namespace {

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
      if (d.code_point <= 0x9F) {
        // A C1 control, which a terminal may take as part of a command.
        out.append("\\u");
        append_hex(out, d.code_point, 4);
      } else if (d.well_formed) {
        out.append(bytes.substr(i, d.length));
      } else {
        text::append_utf8(out, U'\uFFFD');
      }
      i += d.length;
      continue;
    }
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(c);
    } else if (byte < 0x20 || byte == 0x7F) {
      out.append("\\u");
      append_hex(out, byte, 4);
    } else {
      out.push_back(c);
    }
    ++i;
  }
  out.push_back('"');
}

void append_json_fields(std::string& out, const Version& v) {
  std::visit([&](const auto& held) { append_fields(out, held); }, v.value);
}

void append_json_error_fields(std::string& out, const grammar::ParseError& error,
                              std::string_view text) {
  out.append("\"column\":");
  append_decimal(out, column_of(error, text));
  out.append(",\"found\":");
  append_json_string(out, found_words(error, text));
  out.append(",\"expected\":[");
  for (std::size_t i = 0; i < error.expected.size(); ++i) {
    if (i > 0) out.push_back(',');
    append_json_string(out, grammar::display_text(error.expected[i]));
  }
  out.push_back(']');
}

}  // namespace tolva::cli
