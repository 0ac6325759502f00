#include "tolva/report/render.hpp"

#include <algorithm>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "palette.hpp"
#include "shown_char.hpp"
#include "source_text.hpp"
#include "text/decimal.hpp"
#include "text/utf8.hpp"

namespace tolva::report {

namespace {

constexpr std::string_view top_left = "\u256D";      // ╭
constexpr std::string_view horizontal = "\u2500";    // ─
constexpr std::string_view vertical = "\u2502";      // │
constexpr std::string_view bottom_right = "\u256F";  // ╯
constexpr std::string_view attach_mark = "\u252C";   // ┬
constexpr std::string_view arrow_start = "\u2570";   // ╰

constexpr std::string_view header = "Error:";

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

// The part of a line that its rows draw: the characters [first, last), with
// a cut mark before them when `first` is not 0 and after them when `cut_after`.
struct Window {
  std::size_t first = 0;
  std::size_t last = std::numeric_limits<std::size_t>::max();
  bool cut_after = false;
  std::size_t byte_first = 0;  // where character `first` starts in the line

  bool cut_before() const noexcept { return first != 0; }
  // The walk over the drawn characters, tab stops counted from the cut mark.
  ShownLine walk(std::string_view line) const noexcept {
    return ShownLine(line.substr(byte_first), cut_before() ? 1 : 0);
  }
};

// The window around the marks of `labels` on `line`, of which `kept`
// characters are drawn: everything but far-off parts of a long line. Marks
// run from the start of a span to one past its end; a region of marks too
// wide to draw whole is drawn around the first label's attach point.
Window window_of(std::string_view line, std::size_t kept, std::span<const PlacedLabel> labels) {
  std::size_t from = labels.front().start;
  std::size_t to = 0;
  for (const PlacedLabel& p : labels) {
    from = std::min(from, p.start);
    to = std::max(to, p.end + 2);
  }
  if (to - from > 2 * shown_around) {
    from = labels.front().attach();
    to = from + 1;
  }
  Window w;
  if (from > 2 * shown_around) w.first = from - shown_around;
  if (kept > to + 2 * shown_around) {
    w.last = to + shown_around;
    w.cut_after = true;
  }
  for (std::size_t col = 0; col < w.first; ++col)
    w.byte_first += text::decode_utf8(line, w.byte_first).length;
  return w;
}

// One cell of the marks rows: it stands under the characters [from, to) of
// the line (a cut mark under all that it stands for) and takes `columns`.
struct Cell {
  std::size_t from;
  std::size_t to;
  std::size_t columns;
};

// Calls `draw` with each cell of the marks rows of `p`: those under the
// window's characters from column 0 to one past the span's end. Under a
// character inside the span a cell is as wide as the character, elsewhere
// one column (whatever stands there, or past the line's end).
template <typename Draw>
void for_each_cell(const Window& w, std::string_view line, const PlacedLabel& p, Draw draw) {
  if (w.cut_before()) draw(Cell{0, w.first, 1});
  ShownLine walk = w.walk(line);
  std::size_t col = w.first;
  for (; col <= p.end + 1 && col < w.last; ++col) {
    const std::optional<ShownChar> shown = walk.next();
    draw(Cell{col, col + 1, shown && col < p.end ? shown->columns : std::size_t{1}});
  }
  if (w.cut_after && col == w.last) draw(Cell{w.last, std::numeric_limits<std::size_t>::max(), 1});
}

Colour colour_at(std::size_t col, std::span<const PlacedLabel> labels) noexcept {
  for (const PlacedLabel& p : labels) {
    if (p.start <= col && col < p.end) return p.label->colour;
  }
  return unlabelled_colour;
}

// The number of characters the source row draws: trailing white space is not.
std::size_t kept_characters(std::string_view line) noexcept {
  std::size_t kept = 0;
  ShownLine walk(line);
  for (std::size_t col = 0; auto shown = walk.next(); ++col) {
    if (shown->named || shown->glyph != U' ') kept = col + 1;
  }
  return kept;
}

void write_source_row(Canvas& out, std::size_t number_shown, std::size_t width,
                      std::string_view line, std::size_t kept, const Window& w,
                      std::span<const PlacedLabel> labels) {
  std::string number = decimal(number_shown);
  std::string margin(width - number.size(), ' ');
  margin += number;
  margin += ' ';
  margin += vertical;
  out.plain(" ");
  out.painted(frame_colour, margin);
  out.plain(" ");

  // White space is drawn as blanks; a cut mark takes the colour of what it stands for.
  if (w.cut_before()) out.painted(colour_at(w.first - 1, labels), cut_mark);
  std::string glyph;
  ShownLine walk = w.walk(line);
  const std::size_t end = std::min(kept, w.last);
  for (std::size_t col = w.first; col < end; ++col) {
    const ShownChar shown = *walk.next();
    glyph.clear();
    if (shown.named)
      append_name(glyph, shown.glyph);
    else
      text::append_utf8(glyph, shown.glyph);
    out.painted_times(colour_at(col, labels), glyph, shown.copies);
  }
  if (w.cut_after) out.painted(colour_at(w.last, labels), cut_mark);
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
                         std::string_view line, const Window& w) {
  write_below_margin(out, width);
  const Colour c = p.label->colour;
  const bool empty = p.start == p.end;
  const std::size_t attach = p.attach();
  for_each_cell(w, line, p, [&](const Cell& cell) {
    std::size_t cells = cell.columns;
    if (cell.from <= attach && attach < cell.to) {
      // A zero-width character still gets its mark, so the pointer never vanishes.
      out.painted(c, empty ? vertical : attach_mark);
      cells = cells == 0 ? 0 : cells - 1;
    }
    if (cell.from < p.end && p.start < cell.to) {
      out.painted_times(c, horizontal, cells);
    } else {
      out.blanks(cells);
    }
  });
  out.plain("\n");
}

void write_arrow_row(Canvas& out, std::size_t width, const PlacedLabel& p, std::string_view line,
                     const Window& w) {
  write_below_margin(out, width);
  const Colour c = p.label->colour;
  const std::size_t attach = p.attach();
  for_each_cell(w, line, p, [&](const Cell& cell) {
    std::size_t cells = cell.columns;
    if (cell.to <= attach) {
      out.blanks(cells);
      return;
    }
    if (cell.from <= attach) {
      out.painted(c, arrow_start);
      cells = cells == 0 ? 0 : cells - 1;
    }
    out.painted_times(c, horizontal, cells);
  });
  out.plain(" ");
  out.plain(p.label->text);
  out.plain("\n");
}

}  // namespace

std::expected<std::string, std::string> render_report(const Report& report, std::string_view source,
                                                      bool colour) {
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
  out.painted(error_colour, header);
  out.plain(" \n");

  std::size_t position = std::min(report.position, source.size());
  SourceLine ref_line(source, position);
  out.blanks(width + 2);
  out.painted(frame_colour, top_left);
  out.painted(frame_colour, horizontal);
  out.painted(frame_colour, "[");
  out.plain(" ");
  // Without a name the reference is the line and column alone.
  if (!report.source_id.empty()) {
    append_shown_name(out.text, report.source_id);
    out.plain(":");
  }
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
    const std::size_t kept = kept_characters(line.bytes());
    const Window w = window_of(line.bytes(), kept, on_line);
    write_source_row(out, first->line + report.first_line, width, line.bytes(), kept, w, on_line);
    for (const PlacedLabel& p : on_line) {
      write_underline_row(out, width, p, line.bytes(), w);
      write_arrow_row(out, width, p, line.bytes(), w);
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
