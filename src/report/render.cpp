#include "tolva/report/render.hpp"

#include <algorithm>
#include <optional>
#include <span>
#include <vector>

#include "shown_char.hpp"
#include "source_text.hpp"
#include "unicode/utf8.hpp"
#include "values/decimal.hpp"

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

// A label placed on the line that holds its start, in character positions of
// that line.
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
  std::string digits;
  append_decimal(digits, n);
  return digits;
}

// Places `label` on the line that holds its start, decoding that line unless
// `lines` already holds it. Offsets past the text count as its end.
PlacedLabel place(const Label& label, std::string_view source, std::vector<SourceLine>& lines) {
  std::size_t start = std::min(label.span.start, source.size());
  std::size_t end = std::min(label.span.end, source.size());
  SourceLine line(source, start);
  auto known = std::find_if(lines.begin(), lines.end(),
                            [&](const SourceLine& l) { return l.index() == line.index(); });
  if (known == lines.end()) known = lines.insert(lines.end(), std::move(line));
  // A span running into later lines is marked up to the end of its first line.
  return {&label, known->index(), known->column_of(start), known->columns_before(end)};
}

// Columns the marks under the next character of `walk`, at column `col` of a
// label that ends at `end`, take: its drawn width inside the span, one past it
// (whatever stands there) and one past the line's end.
std::size_t cell_width(ShownLine& walk, std::size_t col, std::size_t end) noexcept {
  const std::optional<ShownChar> shown = walk.next();
  return shown && col < end ? shown->columns : 1;
}

Colour colour_at(std::size_t col, std::span<const PlacedLabel> labels) noexcept {
  for (const PlacedLabel& p : labels) {
    if (p.start <= col && col < p.end) return p.label->colour;
  }
  return unlabelled_colour;
}

void write_source_row(Canvas& out, std::size_t number_shown, std::size_t width,
                      std::string_view line, std::span<const PlacedLabel> labels) {
  std::string number = decimal(number_shown);
  std::string margin(width - number.size(), ' ');
  margin += number;
  margin += ' ';
  margin += vertical;
  out.plain(" ");
  out.painted(frame_colour, margin);
  out.plain(" ");

  // White space is drawn as blanks, and trailing white space not at all.
  std::size_t kept = 0;
  ShownLine walk(line);
  for (std::size_t col = 0; auto shown = walk.next(); ++col) {
    if (shown->named || shown->glyph != U' ') kept = col + 1;
  }
  std::string glyph;
  walk = ShownLine(line);
  for (std::size_t col = 0; col < kept; ++col) {
    const ShownChar shown = *walk.next();
    glyph.clear();
    if (shown.named)
      append_name(glyph, shown.glyph);
    else
      unicode::append_utf8(glyph, shown.glyph);
    out.painted_times(colour_at(col, labels), glyph, shown.copies);
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
                         std::string_view line) {
  write_below_margin(out, width);
  Colour c = p.label->colour;
  bool empty = p.start == p.end;
  ShownLine walk(line);
  for (std::size_t col = 0; col <= p.end + 1; ++col) {
    std::size_t cells = cell_width(walk, col, p.end);
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

void write_arrow_row(Canvas& out, std::size_t width, const PlacedLabel& p, std::string_view line) {
  write_below_margin(out, width);
  Colour c = p.label->colour;
  ShownLine walk(line);
  for (std::size_t col = 0; col <= p.end + 1; ++col) {
    std::size_t cells = cell_width(walk, col, p.end);
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

  std::vector<SourceLine> lines;
  std::vector<PlacedLabel> placed;
  placed.reserve(report.labels.size());
  for (const Label& label : report.labels) placed.push_back(place(label, source, lines));
  std::stable_sort(placed.begin(), placed.end(),
                   [](const PlacedLabel& a, const PlacedLabel& b) { return a.line < b.line; });

  std::size_t highest_line = (placed.empty() ? 0 : placed.back().line) + report.first_line;
  std::size_t width = decimal(highest_line).size();

  Canvas out{{}, colour};
  std::size_t drawn = 0;
  for (const SourceLine& l : lines) drawn += l.bytes().size();
  out.text.reserve(256 + drawn);
  out.painted(error_colour, header_of(report.kind));
  out.plain(" \n");

  std::size_t position = std::min(report.position, source.size());
  SourceLine ref_line(source, position);
  out.blanks(width + 2);
  out.painted(frame_colour, top_left);
  out.painted(frame_colour, horizontal);
  out.painted(frame_colour, "[");
  out.plain(" ");
  append_shown_name(out.text, report.source_id);
  out.plain(":");
  out.plain(decimal(ref_line.index() + report.first_line));
  out.plain(":");
  out.plain(decimal(ref_line.column_of(position) + 1));
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
    const SourceLine& line = *std::find_if(
        lines.begin(), lines.end(), [&](const SourceLine& l) { return l.index() == first->line; });
    write_source_row(out, first->line + report.first_line, width, line.bytes(), on_line);
    for (const PlacedLabel& p : on_line) {
      write_underline_row(out, width, p, line.bytes());
      write_arrow_row(out, width, p, line.bytes());
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
