#include "checks.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "text/utf8.hpp"
#include "tolva/parse.hpp"
#include "tolva/report/render.hpp"
#include "tolva/values/other.hpp"

namespace tolva::fuzz {
namespace {

using P = grammar::ExpectedPattern;
const std::array<P, 14> any_pattern{P::TokenV,     P::TokenDot,    P::TokenHyphen, P::TokenPlus,
                                    P::PartChar,   P::DotList,     P::Digit,       P::Integer,
                                    P::Identifier, P::EndOfInput,  P::TokenBar,    P::TokenEquals,
                                    P::Comparator, P::RangeOperand};

constexpr std::string_view header_row = "Error: \n";
constexpr std::string_view closing_end = "\u256F\n";  // ╯ and the line feed

// The text with every colour sequence (ESC [ digits and ';' m) taken out, or
// nothing when an ESC starts anything else.
std::optional<std::string> without_colour(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] != '\x1b') {
      out += text[i++];
      continue;
    }
    std::size_t j = i + 1;
    if (j >= text.size() || text[j] != '[') return std::nullopt;
    ++j;
    while (j < text.size() && (text[j] == ';' || (text[j] >= '0' && text[j] <= '9'))) ++j;
    if (j >= text.size() || text[j] != 'm') return std::nullopt;
    i = j + 1;
  }
  return out;
}

// True when no control character outside `allowed` reaches the text: no C0
// control, no DEL and no C1 control (U+0080 to U+009F, C2 80 to C2 9F).
bool controls_shown_visibly(std::string_view text, std::string_view allowed) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if ((b < 0x20 || b == 0x7F) && allowed.find(static_cast<char>(b)) == std::string_view::npos)
      return false;
    if (b == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0)
      return false;
  }
  return true;
}

// The text a quoted text of the debug form stands for, or nothing when it is
// not one: a double quote, the characters and escapes, a double quote.
std::optional<std::string> unquoted(std::string_view quoted) {
  if (quoted.size() < 2 || !quoted.starts_with('"') || !quoted.ends_with('"')) return std::nullopt;
  const std::string_view body = quoted.substr(1, quoted.size() - 2);
  std::string out;
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body[i] == '"') return std::nullopt;
    if (body[i] != '\\') {
      out += body[i];
      continue;
    }
    if (++i == body.size()) return std::nullopt;
    switch (body[i]) {
      case '"': out += '"'; break;
      case '\\': out += '\\'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      case '0': out += '\0'; break;
      case 'u': {
        const std::size_t close = body.find('}', i);
        if (i + 1 >= body.size() || body[i + 1] != '{' || close == std::string_view::npos)
          return std::nullopt;
        std::uint32_t c = 0;
        const char* first = body.data() + i + 2;
        const char* last = body.data() + close;
        // Lower-case digits without leading zeros: one spelling per character.
        if (std::any_of(first, last, [](char d) { return d >= 'A' && d <= 'F'; }))
          return std::nullopt;
        const auto [end, ec] = std::from_chars(first, last, c, 16);
        if (ec != std::errc() || end != last || first == last || *first == '0' || c > 0x10FFFF ||
            (c >= 0xD800 && c <= 0xDFFF))
          return std::nullopt;
        text::append_utf8(out, static_cast<char32_t>(c));
        i = close;
        break;
      }
      case 'x': {
        std::uint8_t byte = 0;
        if (i + 2 >= body.size()) return std::nullopt;
        const char* first = body.data() + i + 1;
        const auto [end, ec] = std::from_chars(first, first + 2, byte, 16);
        if (ec != std::errc() || end != first + 2) return std::nullopt;
        out += static_cast<char>(byte);
        i += 2;
        break;
      }
      default: return std::nullopt;
    }
  }
  return out;
}

// The report of one label on a text of printable ASCII (one line, one column
// per character), drawn row by row as the layout prescribes.
std::string single_line_report(std::string_view text, std::string_view source_id,
                               grammar::Span span, std::string_view label) {
  const std::size_t attach = span.start + (span.end - span.start) / 2;
  std::string underline;
  std::string arrow;
  for (std::size_t col = 0; col <= span.end + 1; ++col) {
    const bool inside = span.start <= col && col < span.end;
    if (col == attach)
      underline += span.start == span.end ? "\u2502" : "\u252C";
    else
      underline += inside ? "\u2500" : " ";
    arrow += col < attach ? " " : col == attach ? "\u2570" : "\u2500";
  }
  const std::size_t kept = text.find_last_not_of(' ') + 1;  // npos + 1 is 0
  std::string out = "Error: \n";
  out += "   \u256D\u2500[ " + std::string(source_id) + ":1:" + std::to_string(span.start + 1) +
         " ]\n";
  out += "   \u2502\n";
  out += " 1 \u2502 " + std::string(text.substr(0, kept)) + "\n";
  out += "   \u2502 " + underline + "\n";
  out += "   \u2502 " + arrow + " " + std::string(label) + "\n";
  out += "\u2500\u2500\u2500\u256F\n";
  return out;
}

bool has_duplicates(const List<grammar::ExpectedPattern>& list) {
  for (std::size_t i = 0; i < list.size(); ++i)
    for (std::size_t j = i + 1; j < list.size(); ++j)
      if (list[i] == list[j]) return true;
  return false;
}

// Renders `report` over `source` with and without colour and checks the
// rows every report has and that colour adds escape sequences and nothing
// else. Returns the text without colour.
std::string check_rendering(const report::Report& report, std::string_view source,
                            std::string_view allowed_controls) {
  const auto plain = report::render_report(report, source, false);
  const auto coloured = report::render_report(report, source, true);
  require(plain.has_value() && coloured.has_value(), "a well-formed report failed to render");
  require(text::is_valid_utf8(*plain) && text::is_valid_utf8(*coloured),
          "the report is not valid UTF-8");
  require(plain->starts_with(header_row), "the report does not start with its header row");
  require(plain->ends_with(closing_end), "the report does not end with its closing row");
  require(without_colour(*coloured) == *plain,
          "the coloured report differs from the plain one by more than colour");
  require(controls_shown_visibly(*plain, allowed_controls),
          "a control character of the text reached the report");
  return *plain;
}

}  // namespace

void require(bool ok, std::string_view what) {
  if (ok) return;
  std::fprintf(stderr, "fuzz check failed: %.*s\n", static_cast<int>(what.size()), what.data());
  std::abort();
}

std::optional<std::string_view> as_text(const std::uint8_t* data, std::size_t size) {
  return std::string_view(reinterpret_cast<const char*>(data), size);
}

void check_bytes(const std::uint8_t* data, std::size_t size) {
  const std::string_view source(reinterpret_cast<const char*>(data), size);

  constexpr std::string_view head = "Other { value: ";
  constexpr std::string_view tail = " }";
  const std::string debug = debug_form(Other{std::string(source)});
  require(text::is_valid_utf8(debug), "a debug form is not valid UTF-8");
  require(controls_shown_visibly(debug, ""),
          "a control character stands unescaped in a debug form");
  require(debug.starts_with(head) && debug.ends_with(tail),
          "the debug form of an Other is misshapen");
  require(unquoted(std::string_view(debug).substr(
              head.size(), debug.size() - head.size() - tail.size())) == source,
          "the debug form does not spell out the text");

  // The first byte picks zero to two labels, the next ones their offsets,
  // which may lie past the end of the text.
  report::Report report{.source_id = "fuzz", .position = 0, .labels = {}};
  const std::size_t count = size == 0 ? 0 : data[0] % 3;
  bool reversed = false;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = 1 + 2 * i;
    const std::size_t start = at < size ? data[at] % (size + 3) : 0;
    const std::size_t end = at + 1 < size ? data[at + 1] % (size + 3) : start;
    reversed = reversed || end < start;
    report.labels.push_back(
        {{start, end}, "label", report::Colour{report::Colour::Kind::Palette, 201}});
  }
  if (!report.labels.empty()) report.position = report.labels.front().span.start;

  if (reversed) {
    const auto rendered = report::render_report(report, source, false);
    require(!rendered && rendered.error() == "Label start is after its end",
            "a label that ends before it starts was drawn");
    return;
  }
  check_rendering(report, source, "\n");

  // A whole parse report for an error made up from the bytes: any found
  // value (surrogates and values past U+10FFFF too) and any expected list.
  grammar::ParseError error;
  if (!report.labels.empty()) error.span = report.labels.front().span;
  if (size >= 4) {
    std::uint32_t found = 0;
    for (std::size_t i = 0; i < 4; ++i) found = found << 8 | data[size - 1 - i];
    error.found = static_cast<char32_t>(found);
  }
  for (std::size_t i = 0; i < std::min<std::size_t>(size, 12); i += 3)
    error.expected.push_back(any_pattern[data[i] % any_pattern.size()]);
  const std::string built = explain(error, source, {.source_name = "fuzz"});
  require(
      text::is_valid_utf8(built) && built.starts_with(header_row) && built.ends_with(closing_end),
      "a parse report over arbitrary bytes is not a report");
  require(controls_shown_visibly(built, "\n\t"),
          "a control character of the text reached the report");
  require(std::count(built.begin(), built.end(), '\n') == 7,
          "the report of one error is not seven rows");
}

std::string describe(const grammar::ParseError& error) {
  std::string out = "span " + std::to_string(error.span.start) + ".." +
                    std::to_string(error.span.end) + " found ";
  out += error.found ? "U+" + std::to_string(static_cast<std::uint32_t>(*error.found)) : "end";
  out += " kind " + std::to_string(static_cast<int>(error.found_kind));
  out += " expected [";
  for (std::size_t i = 0; i < error.expected.size(); ++i) {
    if (i > 0) out += "; ";
    out += error.expected[i].shown();
  }
  return out + "]";
}

void check_written(std::string_view form) {
  require(text::is_valid_utf8(form), "a written form is not valid UTF-8");
}

void check_rejection(std::string_view text, const grammar::ParseError& error,
                     std::string_view report, std::string_view type_path) {
  const grammar::Span span = error.span;
  require(span.start <= text.size(), "the error starts past the end of the text");
  if (span.start == text.size()) {
    require(span.end == span.start && !error.found, "an error at the end finds a character");
  } else {
    std::size_t boundary = 0;
    while (boundary < span.start) boundary += text::decode_utf8(text, boundary).length;
    require(boundary == span.start, "the error starts inside a character");
    const text::Decoded found = text::decode_utf8(text, span.start);
    if (error.found_kind == grammar::FoundKind::NumberTooLarge) {
      const std::string_view digits = text.substr(span.start, span.end - span.start);
      require(span.end <= text.size() && digits.size() >= 10 &&
                  digits.find_first_not_of("0123456789") == std::string_view::npos &&
                  (span.end == text.size() || text[span.end] < '0' || text[span.end] > '9'),
              "a number above the range is not marked whole");
    } else {
      require(span.end == span.start + found.length, "the span does not cover one character");
      require(found.well_formed == (error.found_kind == grammar::FoundKind::Character),
              "ill-formed bytes are not found as such");
    }
    require(error.found == found.code_point, "the found character is not the one at the span");
  }
  require(!error.expected.empty(), "the error expects nothing");
  require(!has_duplicates(error.expected), "the error lists a pattern twice");

  // explain() draws the report for this one error.
  const std::string label = report::label_text(error, text);
  report::Report expected{
      .source_id = std::string(type_path),
      .position = span.start,
      .labels = {{span, label, report::Colour{report::Colour::Kind::Palette, 201}}},
  };
  const std::string plain = check_rendering(expected, text, "\n\t");
  require(std::count(plain.begin(), plain.end(), '\n') == 7,
          "the report of one error is not seven rows");
  require(report == plain, "explain() is not the report of its error");
  require(plain.find("[ " + std::string(type_path) + ":") != std::string::npos,
          "the report does not name its source");
  require(plain.find(" " + label + "\n") != std::string::npos,
          "the report does not carry the error's label");
  // Up to 512 characters a line is drawn whole; past that the report draws a window.
  if (text.size() <= 512 &&
      std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; })) {
    require(plain == single_line_report(text, type_path, span, label),
            "the report of a one-line text is not laid out row by row as prescribed");
  }
}

}  // namespace tolva::fuzz

// Reports are compared against uncoloured renderings, so the process-wide
// colour decision must come out as "off" whatever terminal runs the fuzzer.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("NO_COLOR", "1", 1);
  unsetenv("CLICOLOR_FORCE");
  return 0;
}
