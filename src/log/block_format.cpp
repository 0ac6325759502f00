#include "block_format.hpp"

#include "clean_text.hpp"
#include "field_format.hpp"
#include "text/decimal.hpp"
#include "thread_id.hpp"
#include "timestamp.hpp"

namespace tolva::log {
namespace {

constexpr std::string_view kReset = "\x1b[0m";
constexpr std::string_view kDim = "\x1b[2m";
constexpr std::string_view kDimItalic = "\x1b[2;3m";
constexpr std::string_view kBold = "\x1b[1m";

struct LevelStyle {
  std::string_view colour;       // e.g. ESC[32m
  std::string_view bold_colour;  // e.g. ESC[1;32m
  std::string_view unbold;       // bold cannot be undone alone: reset, then the colour
};

LevelStyle level_style(Level level) noexcept {
  switch (level) {
    case Level::trace: return {"\x1b[35m", "\x1b[1;35m", "\x1b[0m\x1b[35m"};
    case Level::debug: return {"\x1b[34m", "\x1b[1;34m", "\x1b[0m\x1b[34m"};
    case Level::info: return {"\x1b[32m", "\x1b[1;32m", "\x1b[0m\x1b[32m"};
    case Level::warn: return {"\x1b[33m", "\x1b[1;33m", "\x1b[0m\x1b[33m"};
    case Level::error: return {"\x1b[31m", "\x1b[1;31m", "\x1b[0m\x1b[31m"};
  }
  return {};
}

// Appends `text` inside `style` (nothing around it when colour is off).
void append_styled(std::string& out, bool colour, std::string_view style, std::string_view text) {
  if (colour) out += style;
  out += text;
  if (colour) out += kReset;
}

// `style` is empty when colour is off.
void append_first_row(std::string& out, const Metadata& metadata, bool colour,
                      const LevelStyle& style, std::optional<Timestamp> time) {
  out += "  ";
  if (colour) out += kDim;
  append_timestamp(out, time);
  if (colour) out += kReset;
  out += ' ';
  append_styled(out, colour, style.colour, level_word(metadata.level));
  out += ' ';
  out += style.bold_colour;
  append_clean(out, metadata.target);
  out += style.unbold;
  out += ": ";
}

void append_location_row(std::string& out, const Metadata& metadata, bool colour) {
  out += "    ";
  if (!metadata.file.empty()) {
    append_styled(out, colour, kDimItalic, "at");
    out += ' ';
    append_clean(out, metadata.file);
    if (metadata.line != 0) {
      out += ':';
      append_decimal(out, metadata.line);
    }
    out += ' ';
  }
  append_styled(out, colour, kDimItalic, "on");
  out += " ThreadId(";
  append_decimal(out, current_thread_number());
  out += ")\n";
}

void append_span_row(std::string& out, const SpanRecord& span, bool colour) {
  out += "    ";
  append_styled(out, colour, kDimItalic, "in");
  out += ' ';
  append_clean(out, span.target);
  out += "::";
  if (colour) out += kBold;
  append_clean(out, span.name);
  if (colour) out += kReset;
  if (!span.fields.empty()) {
    out += ' ';
    append_styled(out, colour, kDimItalic, "with");
    out += ' ';
    out += span.fields;
  }
  out += '\n';
}

}  // namespace

bool append_block(std::string& out, const Metadata& metadata,
                  std::span<const Field> fields, const BlockContext& context) {
  const bool colour = context.colour;
  const LevelStyle style = colour ? level_style(metadata.level) : LevelStyle{};
  append_first_row(out, metadata, colour, style, context.time);
  if (!append_fields(out, fields, {style.colour, style.bold_colour, style.unbold})) return false;
  if (colour) out += kReset;
  out += '\n';

  append_location_row(out, metadata, colour);
  context.spans.for_each_in_scope(
      context.parent, [&](const SpanRecord& span) { append_span_row(out, span, colour); });
  out += '\n';
  return true;
}

}  // namespace tolva::log
