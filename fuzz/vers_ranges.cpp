#include <string>
#include <utility>

#include "checks.hpp"
#include "tolva/scheme/version_range.hpp"

namespace {

using namespace tolva;

std::string written(const VersionRange& r) { return write_vers(r).value_or(""); }

// A range written as vers reads back, strictly, as the same versions, and
// writes the same text again.
void check_written_back(const VersionRange& r) {
  auto text = write_vers(r);
  if (!text) return;  // a set its type's text cannot say
  fuzz::check_written(*text);
  auto again = read_vers(*text, true);
  fuzz::require(again.has_value(), "a written range is refused: " + *text);
  fuzz::require(again->same(r).value_or(false), "a written range reads back as others: " + *text);
  fuzz::require(written(*again) == *text, "a range read back writes otherwise: " + *text);
}

// Two ranges of one type: their union holds each, their intersection lies in
// each, the relations agree with each other, and no operation fails.
void check_pair(const VersionRange& a, const VersionRange& b) {
  auto either = a.union_with(b);
  auto both = a.intersection(b);
  auto meet = a.intersects(b);
  fuzz::require(either.has_value() == both.has_value() && both.has_value() == meet.has_value(),
                "operations disagree on whether the ranges combine");
  if (!either) return;  // ranges of two types
  fuzz::require(a.subset(*either).value_or(false), "a range not within its union");
  fuzz::require(both->subset(b).value_or(false), "an intersection not within its range");
  fuzz::require(*meet == b.intersects(a).value_or(!*meet), "intersects is not symmetric");
  fuzz::require(*meet == !both->subset(b.complement()).value_or(*meet),
                "intersects disagrees with subset of the complement");
  const VersionRange outside = a.complement();
  fuzz::require(!a.intersects(outside).value_or(true), "a range meets its complement");
  fuzz::require(a.union_with(outside)->complement().subset(b).value_or(false),
                "a range and its complement leave a version out");
  for (const VersionRange* r : {&std::as_const(*either), &std::as_const(*both), &outside})
    check_written_back(*r);
}

}  // namespace

// vers texts over any bytes: the first byte picks a scheme for a native
// range, the rest is two texts split at the first newline, each read as vers
// (strictly and not) and as the scheme's own syntax. A strict reading is the
// loose one of a canonical text; what reads is written back and combined.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const Scheme s = scheme::all[data[0] % std::size(scheme::all)];
  const std::string_view rest = *fuzz::as_text(data + 1, size - 1);
  const std::size_t newline = rest.find('\n');
  const std::string_view texts[] = {
      rest.substr(0, newline), newline == std::string_view::npos ? rest : rest.substr(newline + 1)};
  std::optional<VersionRange> read[2];
  for (int i = 0; i < 2; ++i) {
    auto loose = read_vers(texts[i]);
    if (auto strict = read_vers(texts[i], true)) {
      fuzz::require(loose.has_value(), "a text read strictly is refused loosely");
      fuzz::require(written(*strict) == written(*loose), "strict and loose readings differ");
    }
    if (loose) {
      check_written_back(*loose);
      read[i] = std::move(*loose);
    } else if (auto native = read_native(texts[i], s)) {
      check_written_back(*native);
      read[i] = std::move(*native);
    }
  }
  if (read[0] && read[1]) check_pair(*read[0], *read[1]);
  return 0;
}
