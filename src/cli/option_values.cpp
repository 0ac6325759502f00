#include "option_values.hpp"

#include <unistd.h>

#include <charconv>
#include <limits>

namespace tolva::cli {
namespace {

std::expected<std::size_t, std::string> read_digits(std::string_view text) {
  std::size_t n = 0;
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, n);
  if (text.empty() || stop != end) return std::unexpected(std::string("not a number"));
  if (error == std::errc::result_out_of_range) return std::unexpected(std::string("too large"));
  return n;
}

std::size_t physical_memory() noexcept {
  long pages = sysconf(_SC_PHYS_PAGES);
  long page_size = sysconf(_SC_PAGESIZE);
  if (pages <= 0 || page_size <= 0) return 0;
  return static_cast<std::size_t>(pages) * static_cast<std::size_t>(page_size);
}

char lower(char c) noexcept { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::expected<std::size_t, std::string> read_count(std::string_view text, std::size_t least) {
  auto n = read_digits(text);
  if (n && *n < least) return std::unexpected("less than " + std::to_string(least));
  return n;
}

std::expected<std::size_t, std::string> read_size(std::string_view text) {
  std::size_t digits = text.find_first_not_of("0123456789");
  if (digits == std::string_view::npos) digits = text.size();
  std::string_view suffix = text.substr(digits);
  auto n = read_digits(text.substr(0, digits));
  if (!n || suffix.size() > 1) return std::unexpected(std::string("not a size"));
  if (suffix == "%") {
    if (*n > 100) return std::unexpected(std::string("more than 100%"));
    if (*n == 0) return std::unexpected(std::string("zero"));
    std::size_t bytes = physical_memory() / 100 * *n;
    if (bytes == 0) return std::unexpected(std::string("no memory size known to take a share of"));
    return bytes;
  }
  int shift = 10;
  if (!suffix.empty()) {
    switch (suffix.front()) {
      case 'b': shift = 0; break;
      case 'k':
      case 'K': shift = 10; break;
      case 'M': shift = 20; break;
      case 'G': shift = 30; break;
      case 'T': shift = 40; break;
      default: return std::unexpected(std::string("not a size"));
    }
  }
  if (*n > (std::numeric_limits<std::size_t>::max() >> shift)) {
    return std::unexpected(std::string("too large"));
  }
  if (*n == 0) return std::unexpected(std::string("zero"));
  return *n << shift;
}

bool same_word(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace tolva::cli
