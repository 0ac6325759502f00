#include "tolva/report/render.hpp"

#include <algorithm>
#include <charconv>
#include <vector>

#include "shown_char.hpp"
#include "source_text.hpp"
#include "unicode/properties.hpp"
#include "unicode/utf8.hpp"

namespace tolva::report {

namespace {

constexpr std::string_view top_left = "\u256D";      // ╭
constexpr std::string_view horizontal = "\u2500";    // ─
constexpr std::string_view vertical = "\u2502";      // │
constexpr std::string_view bottom_right = "\u256F";  // ╯
constexpr std::string_view attach_mark = "\u252C";   // ┬
constexpr std::string_view arrow_start = "\u2570";   // ╰

std::string_view header_of(ReportKind kind) noexcept {
  switch (kind) {
    case ReportKind::Error:
      break;
  }
  return "Error:";
}

// A label placed on the line that holds its start, in columns of that line.
struct PlacedLabel {
  const Label* label;
  std::size_t line;
  std::size_t start;
  std::size_t end;

  std::size_t attach() const noexcept { return start + (end - start) / 2; }
};

// The report text under construction.
struct Canvas {
  std::string text;
  bool colour;

  void plain(std::string_view piece) { text += piece; }
  void blanks(std::size_t n) { text.append(n, ' '); }
  void painted(Colour c, std::string_view piece) { paint(text, c, piece, colour); }
  void painted_times(Colour c, std::string_view piece, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) painted(c, piece);
  }
};

std::string decimal(std::size_t n) {
  char digits[24];
  auto [end, ec] = std::to_chars(digits, digits + sizeof digits, n);
  return std::string(digits, end);
}

PlacedLabel place(const Label& label, const SourceText& source, std::size_t limit) {
  std::size_t start = std::min(label.span.start, limit);
  std::size_t end = std::min(label.span.end, limit);
  std::size_t line = source.line_of(start);
  const SourceLine& l = source.line(line);
  end -= l.offset;
  // A span running into later lines is marked up to the end of its first line.
  if (line + 1 < source.line_count()) end = std::min(end, l.length);
  return {&label, line, start - l.offset, end};
}

// How the source row shows every character of a line, line break included.
std::vector<ShownChar> show_line(std::span<const char32_t> chars) {
  std::vector<ShownChar> shown;
  shown.reserve(chars.size());
  std::size_t column = 0;
  for (char32_t c : chars) {
    shown.push_back(show_source_char(c, column));
    column += shown.back().columns;
  }
  return shown;
}

// Columns the marks under character column `col` take; past the line's end, one.
std::size_t cell_width(const std::vector<ShownChar>& shown, std::size_t col) noexcept {
  return col < shown.size() ? shown[col].columns : 1;
}

Colour colour_at(std::size_t col, std::span<const PlacedLabel> labels) noexcept {
  for (const PlacedLabel& p : labels) {
    if (p.start <= col && col < p.end) return p.label->colour;
  }
  return unlabelled_colour;
}

void write_source_row(Canvas& out, std::size_t number_shown, std::size_t width,
                      std::span<const char32_t> chars, const std::vector<ShownChar>& shown,
                      std::span<const PlacedLabel> labels) {
  std::string number = decimal(number_shown);
  std::string margin(width - number.size(), ' ');
  margin += number;
  margin += ' ';
  margin += vertical;
  out.plain(" ");
  out.painted(frame_colour, margin);
  out.plain(" ");

  std::size_t kept = chars.size();
  while (kept > 0 && unicode::is_white_space(chars[kept - 1])) --kept;
  std::string glyph;
  for (std::size_t col = 0; col < kept; ++col) {
    glyph.clear();
    unicode::append_utf8(glyph, shown[col].glyph);
    out.painted_times(colour_at(col, labels), glyph, shown[col].copies);
  }
  out.plain("\n");
}

void write_below_margin(Canvas& out, std::size_t width) {
  std::string margin(width + 1, ' ');
  margin += vertical;
  out.plain(" ");
  out.painted(below_margin_colour, margin);
  out.plain(" ");
}

// The row of marks under the span: the attach mark, then bars over the rest.
void write_underline_row(Canvas& out, std::size_t width, const PlacedLabel& p,
                         const std::vector<ShownChar>& shown) {
  write_below_margin(out, width);
  Colour c = p.label->colour;
  bool empty = p.start == p.end;
  for (std::size_t col = 0; col <= p.end + 1; ++col) {
    std::size_t cells = cell_width(shown, col);
    bool inside = p.start <= col && col < p.end;
    if (col == p.attach()) {
      // A zero-width character still gets its mark, so the pointer never vanishes.
      out.painted(c, empty ? vertical : attach_mark);
      cells = cells == 0 ? 0 : cells - 1;
    }
    if (inside) {
      out.painted_times(c, horizontal, cells);
    } else {
      out.blanks(cells);
    }
  }
  out.plain("\n");
}

void write_arrow_row(Canvas& out, std::size_t width, const PlacedLabel& p,
                     const std::vector<ShownChar>& shown) {
  write_below_margin(out, width);
  Colour c = p.label->colour;
  for (std::size_t col = 0; col <= p.end + 1; ++col) {
    std::size_t cells = cell_width(shown, col);
    if (col < p.attach()) {
      out.blanks(cells);
      continue;
    }
    if (col == p.attach()) {
      out.painted(c, arrow_start);
      cells = cells == 0 ? 0 : cells - 1;
    }
    out.painted_times(c, horizontal, cells);
  }
  out.plain(" ");
  out.plain(p.label->text);
  out.plain("\n");
}

}  // namespace

std::expected<std::string, std::string> render_report(const Report& report,
                                                      std::string_view source, bool colour) {
  for (const Label& label : report.labels) {
    if (label.span.end < label.span.start) return std::unexpected("Label start is after its end");
  }

  SourceText text(source);
  // Offsets are character positions that may come from byte offsets, so no
  // mark lies further out than the text's byte length.
  std::size_t limit = source.size();
  std::vector<PlacedLabel> placed;
  placed.reserve(report.labels.size());
  for (const Label& label : report.labels) placed.push_back(place(label, text, limit));
  std::stable_sort(placed.begin(), placed.end(),
                   [](const PlacedLabel& a, const PlacedLabel& b) { return a.line < b.line; });

  std::size_t highest_line = (placed.empty() ? 0 : placed.back().line) + report.first_line;
  std::size_t width = decimal(highest_line).size();

  Canvas out{{}, colour};
  out.text.reserve(256 + source.size() * 4);
  out.painted(error_colour, header_of(report.kind));
  out.plain(" \n");

  std::size_t position = std::min(report.position, limit);
  std::size_t ref_line = text.line_of(position);
  out.blanks(width + 2);
  out.painted(frame_colour, top_left);
  out.painted(frame_colour, horizontal);
  out.painted(frame_colour, "[");
  out.plain(" ");
  out.plain(report.source_id);
  out.plain(":");
  out.plain(decimal(ref_line + report.first_line));
  out.plain(":");
  out.plain(decimal(position - text.line(ref_line).offset + 1));
  out.plain(" ");
  out.painted(frame_colour, "]");
  out.plain("\n");

  out.blanks(width + 2);
  out.painted(frame_colour, vertical);
  out.plain("\n");

  for (auto first = placed.begin(); first != placed.end();) {
    auto last = std::find_if(first, placed.end(),
                             [&](const PlacedLabel& p) { return p.line != first->line; });
    std::span<const PlacedLabel> on_line(first, last);
    std::span<const char32_t> chars = text.chars(first->line);
    std::vector<ShownChar> shown = show_line(chars);
    write_source_row(out, first->line + report.first_line, width, chars, shown, on_line);
    for (const PlacedLabel& p : on_line) {
      write_underline_row(out, width, p, shown);
      write_arrow_row(out, width, p, shown);
    }
    first = last;
  }

  std::string closing;
  for (std::size_t i = 0; i < width + 2; ++i) closing += horizontal;
  closing += bottom_right;
  out.painted(frame_colour, closing);
  out.plain("\n");
  return std::move(out.text);
}

}  // namespace tolva::report
