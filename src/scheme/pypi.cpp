// The pypi scheme's row, and packaging's order of versions written apart
// from the key (pypi_key.cpp).
#include <algorithm>
#include <array>

#include "pypi.hpp"

namespace tolva::scheme::detail::pypi {
namespace {

using key_bytes::compare_numbers;

// The segment before the first separator of `s`, taken off it.
std::string_view take_segment(std::string_view& s) noexcept {
  std::size_t end = 0;
  while (end < s.size() && !is_separator(s[end])) ++end;
  const std::string_view segment = s.substr(0, end);
  s.remove_prefix(std::min(s.size(), end + 1));
  return segment;
}

// Number by number, the shorter padded with zeros.
std::weak_ordering compare_releases(std::string_view a, std::string_view b) noexcept {
  while (!a.empty() || !b.empty()) {
    if (auto c = compare_numbers(take_segment(a), take_segment(b)); c != 0) return c;
  }
  return std::weak_ordering::equivalent;
}

// Segment by segment: numbers by value above words, words without regard
// to case; none below any, and fewer segments first.
std::weak_ordering compare_locals(std::string_view a, std::string_view b) noexcept {
  while (!a.empty() && !b.empty()) {
    const std::string_view p = take_segment(a), q = take_segment(b);
    const bool number = all_digits(p);
    if (number != all_digits(q))
      return number ? std::weak_ordering::greater : std::weak_ordering::less;
    if (number) {
      if (auto c = compare_numbers(p, q); c != 0) return c;
      continue;
    }
    for (std::size_t k = 0; k < std::min(p.size(), q.size()); ++k) {
      if (auto c = lower(p[k]) <=> lower(q[k]); c != 0) return c;
    }
    if (auto c = p.size() <=> q.size(); c != 0) return c;
  }
  return !a.empty() <=> !b.empty();
}

std::expected<Parts, ParseError> version(std::string_view text) { return read(text, false); }

constexpr std::array<std::string_view, 1> names{"pypi"};

}  // namespace

// Epoch, release, phase (a dev-release of the release itself first) and its
// number, post-release (none first), dev-release (none last), local version.
std::weak_ordering compare(const Parts& a, const Parts& b) noexcept {
  if (auto c = compare_numbers(a.epoch, b.epoch); c != 0) return c;
  if (auto c = compare_releases(a.release, b.release); c != 0) return c;
  if (auto c = a.pre <=> b.pre; c != 0) return c;
  if (auto c = compare_numbers(a.pre_n, b.pre_n); c != 0) return c;
  if (auto c = a.post <=> b.post; c != 0) return c;
  if (auto c = compare_numbers(a.post_n, b.post_n); c != 0) return c;
  if (auto c = b.dev <=> a.dev; c != 0) return c;
  if (auto c = compare_numbers(a.dev_n, b.dev_n); c != 0) return c;
  return compare_locals(a.local, b.local);
}

}  // namespace tolva::scheme::detail::pypi

namespace tolva::scheme::detail {

const Row pypi_row{.scheme = Scheme::pypi,
                   .names = pypi::names,
                   .append_key = pypi::append_key,
                   .key_size_bound = pypi::key_size_bound,
                   .fields = pypi::fields,
                   .read_range = pypi::read_range,
                   .check = check_by_reading<pypi::version>,
                   .compare = compare_by_reading<pypi::version, pypi::compare>};

}  // namespace tolva::scheme::detail
