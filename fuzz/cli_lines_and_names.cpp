// The command-line tool's side of the input: lines read from a pipe or a file
// in reads of any size are the lines of the whole text, and a name or an
// argument of any bytes reaches a report header or a usage message as one line
// of well-formed UTF-8 without control characters.
//
// Input: a byte choosing the read size (low four bits), NUL or line feed as
// the terminator (bit 6) and pipe or file (top bit), a byte giving the name's
// length, the name, then the text.
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <string>
#include <variant>
#include <vector>

#include "checks.hpp"
#include "cli/command_line.hpp"
#include "cli/kind.hpp"
#include "cli/lines.hpp"
#include "cli/shown_name.hpp"
#include "text/utf8.hpp"
#include "text/write_all.hpp"

namespace {

using tolva::fuzz::require;

// Well-formed UTF-8 with no control character (C0, DEL or C1) other than the
// line feeds of a text of several lines.
bool safe_text(std::string_view text, bool one_line) {
  if (!tolva::text::is_valid_utf8(text)) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b == '\n' && !one_line) continue;
    if (b < 0x20 || b == 0x7F) return false;
    if (b == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0) return false;
  }
  return true;
}

// A descriptor closed when it goes.
struct Descriptor {
  int fd;
  explicit Descriptor(int opened) noexcept : fd(opened) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() { ::close(fd); }
};

void write_input(int fd, std::string_view text) {
  require(tolva::write_all(fd, text).error == 0, "cannot write the input to read back");
}

// A descriptor reading `text`: a memory file, or a pipe when the text fits in
// one (its writing end closed, so that the reader meets the end).
int readable(std::string_view text, bool as_file) {
  if (as_file || text.size() > 64 * 1024) {
    const int fd = ::memfd_create("text", MFD_CLOEXEC);
    require(fd >= 0, "cannot make a memory file");
    write_input(fd, text);
    require(::lseek(fd, 0, SEEK_SET) == 0, "cannot rewind the memory file");
    return fd;
  }
  int ends[2];
  require(::pipe2(ends, O_CLOEXEC) == 0, "cannot make a pipe");
  write_input(ends[1], text);
  ::close(ends[1]);
  return ends[0];
}

void check_lines(std::string_view text, char terminator, std::size_t chunk, bool as_file) {
  std::vector<std::string_view> expected;
  for (std::string_view rest = text; !rest.empty();)
    expected.push_back(tolva::cli::take_line(rest, terminator));

  const Descriptor lines_fd{readable(text, as_file)};
  tolva::cli::LineReader reader(lines_fd.fd, terminator, chunk);
  for (const std::string_view want : expected) {
    const auto line = reader.next();
    require(line && *line && **line == want, "the line reader and take_line disagree");
  }
  const auto end = reader.next();
  require(end && !*end, "the line reader reads a line past the end");
}

// The report of a rejected line names `name` as `shown` in its header,
// "   ╭─[ SHOWN:7:COLUMN ]", on a line of its own.
void check_header(std::string_view name, const std::string& shown, std::string_view line) {
  const tolva::report::ReportStyle style{.source_name = name, .first_line = 7, .colour = false};
  const auto parsed = tolva::parse_as<tolva::SemVer>(line);
  if (parsed) return;
  const std::string report = tolva::explain(parsed.error(), line, style);
  require(safe_text(report, false), "a report holds a control character or ill-formed UTF-8");
  std::string start = "\u256D\u2500[ ";
  start.append(shown).append(":7:");
  const std::size_t at = report.find(start);
  require(at != std::string::npos, "the report header does not show the name");
  const std::size_t row_start = report.rfind('\n', at) + 1;
  require(report.find_first_not_of(' ', row_start) == at,
          "the report header does not start its row");
  const std::size_t row_end = report.find('\n', at);
  std::string_view rest =
      std::string_view(report).substr(at + start.size(), row_end - at - start.size());
  require(rest.ends_with(" ]"), "the report header does not end its row");
  rest.remove_suffix(2);
  require(!rest.empty() && rest.find_first_not_of("0123456789") == std::string_view::npos,
          "the report header's column is not a number");
}

void check_name(std::string_view name, std::string_view first_line) {
  const std::string shown = tolva::cli::shown_name(name);
  require(safe_text(shown, true), "a shown name is not one line of plain UTF-8");
  require(shown.empty() == name.empty(), "a shown name is empty or not as the name is");
  require(tolva::cli::shown_name(shown) == shown, "showing a shown name changes it");

  const std::string long_option = std::string("--").append(name);
  const std::string colour = std::string("--color=").append(name);
  const std::string short_options = std::string("-").append(name);
  const std::array<std::vector<std::string_view>, 5> commands{{
      {name},
      {"sort", short_options},
      {"check", long_option},
      {"check", "--kind", name},
      {"parse", colour, "1"},
  }};
  for (const auto& args : commands) {
    const auto request = tolva::cli::read_command_line(args);
    if (const auto* error = std::get_if<tolva::cli::UsageError>(&request)) {
      require(safe_text(error->message, true), "a usage message is not one line of plain UTF-8");
    }
  }

  // As the tool names a file, and as a caller of the parser might; an empty
  // name makes the report name the type instead.
  if (name.empty()) return;
  for (const std::string_view line : {first_line, std::string_view("1.2.3!")}) {
    check_header(shown, shown, line);
    check_header(name, shown, line);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t chunk = 1 + (data[0] & 0x0F);
  const bool as_file = (data[0] & 0x80) != 0;
  const std::string_view rest(reinterpret_cast<const char*>(data) + 2, size - 2);
  const std::string_view name = rest.substr(0, data[1] % (rest.size() + 1));
  const std::string_view text = rest.substr(name.size());
  check_lines(text, (data[0] & 0x40) != 0 ? '\0' : '\n', chunk, as_file);
  std::string_view lines = text;
  check_name(name, tolva::cli::take_line(lines));
  return 0;
}
