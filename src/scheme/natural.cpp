#include <array>
#include <compare>
#include <cstdint>
#include <vector>

#include "row.hpp"

namespace tolva::scheme::detail {
namespace natural {

// The natural scheme: every text is a version, read as the runs of letters
// and of digits it holds, ordered as people mean release names:
//
//   1.0alpha1 < 1.0beta2 < 1.0rc1 < 1.0 < 1.0patch1 < 1.0.1 < 1.0a < 1.1
//
//   - a 'v' or 'V' directly before a digit at the start is dropped;
//   - any other byte than an ASCII letter or digit separates runs;
//   - a word is a pre-release word (alpha, beta, rc, or any word beginning
//     with pre), a post-release word (patch, pl, errata, or any word
//     beginning with post), or unknown; case is ignored;
//   - the ranks: pre-release and unknown words < zero < post-release words <
//     other numbers < a letter suffix, an unknown word right after a digit
//     run and not right before one (1.0a, 1.0a.1, but not 1.0a1 or 1.0.a);
//   - runs compare by rank, then numbers by value (of any length), words by
//     their first letter, case ignored (so a = alpha, p = patch = post);
//   - the shorter text is padded with zeros: 1 = 1.0 = 1.0.0, "" = 0.

enum class RunKind : std::uint8_t {
  pre_release,
  unknown,
  zero,
  post_release,
  number,
  letter_suffix
};

struct Run {
  std::string_view text;  // a view into the text read
  RunKind kind = RunKind::zero;
};

// The key: the runs as units of a count of zero runs and the non-zero run
// after them, a pre-release or unknown word's unit (its letter; after zeros
// 0x1B, their count and the letter) below the end of the text (0x20) and
// every other unit above it (after zeros 0x30, their count descending, the
// rank and the run; else by the unit bytes below); trailing zeros are no
// units. A unit of one run takes one byte.

namespace {

using key_bytes::is_digit;
using key_bytes::is_letter;

char lower(char c) noexcept { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool is_word(std::string_view word, std::string_view keyword) noexcept {
  if (word.size() != keyword.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i)
    if (lower(word[i]) != keyword[i]) return false;
  return true;
}
bool begins_with(std::string_view word, std::string_view keyword) noexcept {
  return word.size() >= keyword.size() && is_word(word.substr(0, keyword.size()), keyword);
}

// The runs of a text, one at a time, without allocating.
class Runs {
 public:
  explicit Runs(std::string_view text) noexcept : text_(text) {
    if (text_.size() > 1 && (text_[0] == 'v' || text_[0] == 'V') && is_digit(text_[1])) pos_ = 1;
  }

  // The next run; false at the end of the text.
  bool next(Run& run) noexcept {
    while (pos_ < text_.size() && !is_digit(text_[pos_]) && !is_letter(text_[pos_])) ++pos_;
    if (pos_ == text_.size()) return false;
    const std::size_t start = pos_;
    const bool digits = is_digit(text_[pos_]);
    while (pos_ < text_.size() && (digits ? is_digit(text_[pos_]) : is_letter(text_[pos_]))) ++pos_;
    run.text = text_.substr(start, pos_ - start);
    if (digits) {
      run.kind = run.text.find_first_not_of('0') == std::string_view::npos ? RunKind::zero
                                                                           : RunKind::number;
    } else {
      run.kind = word_kind(run.text);
      const bool after_digits = start > 0 && is_digit(text_[start - 1]);
      const bool before_digits = pos_ < text_.size() && is_digit(text_[pos_]);
      if (run.kind == RunKind::unknown && after_digits && !before_digits) {
        run.kind = RunKind::letter_suffix;
      }
    }
    return true;
  }

 private:
  static RunKind word_kind(std::string_view w) noexcept {
    if (is_word(w, "alpha") || is_word(w, "beta") || is_word(w, "rc") || begins_with(w, "pre")) {
      return RunKind::pre_release;
    }
    if (is_word(w, "patch") || is_word(w, "pl") || is_word(w, "errata") || begins_with(w, "post")) {
      return RunKind::post_release;
    }
    return RunKind::unknown;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

int rank(RunKind k) noexcept {
  switch (k) {
    case RunKind::pre_release:
    case RunKind::unknown: return 0;
    case RunKind::zero: return 1;
    case RunKind::post_release: return 2;
    case RunKind::number: return 3;
    case RunKind::letter_suffix: break;
  }
  return 4;
}

std::strong_ordering compare_runs(const Run& a, const Run& b) noexcept {
  if (auto c = rank(a.kind) <=> rank(b.kind); c != 0) return c;
  if (a.kind == RunKind::number) return key_bytes::compare_numbers(a.text, b.text);
  if (a.kind == RunKind::zero) return std::strong_ordering::equal;
  return lower(a.text[0]) <=> lower(b.text[0]);
}

// A unit's first byte, in order: a word right after the last unit (its
// letter: 0x01 for a to 0x1A for z), a word after zeros, the end, a run above
// zero after zeros, then right after the last unit: a post-release word, a
// number below 176 (0x40 plus its value), a larger number, a letter suffix.
constexpr std::uint8_t word_after_zeros = 0x1B;
constexpr std::uint8_t end_of_text = 0x20;
constexpr std::uint8_t above_after_zeros = 0x30;
constexpr std::uint8_t post_release_unit = 0x3D;
constexpr std::uint8_t small_number_unit = 0x40;
constexpr unsigned small_number_end = 0xF0 - small_number_unit;
constexpr std::uint8_t number_unit = 0xF0;
constexpr std::uint8_t letter_suffix_unit = 0xF1;

std::uint8_t letter(const Run& run) noexcept {
  return static_cast<std::uint8_t>(lower(run.text[0]) - 'a' + 1);
}

// A number run right after the last unit: one byte when small.
void put_number_unit(key_bytes::Room& key, std::string_view digits) noexcept {
  digits = key_bytes::significant_digits(digits);
  if (digits.size() <= 3) {
    unsigned n = 0;
    for (char c : digits) n = n * 10 + static_cast<unsigned>(c - '0');
    if (n < small_number_end) return key.put(static_cast<std::uint8_t>(small_number_unit + n));
  }
  key.put(number_unit);
  key_bytes::put_number(key, digits);
}

}  // namespace

void put_key(key_bytes::Room& key, std::string_view text) noexcept {
  Runs runs(text);
  std::uint64_t zeros = 0;
  for (Run run; runs.next(run);) {
    if (run.kind == RunKind::zero) {
      ++zeros;
      continue;
    }
    if (rank(run.kind) == 0) {
      // Fewer zeros before a word put it earlier, below the zero that
      // stands there in the other text.
      if (zeros != 0) {
        key.put(word_after_zeros);
        key_bytes::put_count(key, zeros);
      }
      key.put(letter(run));
    } else if (zeros != 0) {
      // Fewer zeros before a run above zero put it later: the count is
      // descending.
      key.put(above_after_zeros);
      key_bytes::put_count(key, zeros, true);
      key.put(static_cast<std::uint8_t>(rank(run.kind)));
      if (run.kind == RunKind::number) {
        key_bytes::put_number(key, run.text);
      } else {
        key.put(letter(run));
      }
    } else if (run.kind == RunKind::number) {
      put_number_unit(key, run.text);
    } else {
      key.put(run.kind == RunKind::post_release ? post_release_unit : letter_suffix_unit);
      key.put(letter(run));
    }
    zeros = 0;
  }
  key.put(end_of_text);
}

std::vector<Run> read(std::string_view text) {
  std::vector<Run> runs;
  Runs reader(text);
  for (Run run; reader.next(run);) runs.push_back(run);
  return runs;
}

std::expected<std::weak_ordering, ParseError> compare(std::string_view a, std::string_view b,
                                                      const Order&) {
  Runs x(a);
  Runs y(b);
  const Run zero{"0", RunKind::zero};
  for (;;) {
    Run p;
    Run q;
    const bool more_x = x.next(p);
    const bool more_y = y.next(q);
    if (!more_x && !more_y) return std::weak_ordering::equivalent;
    if (auto c = compare_runs(more_x ? p : zero, more_y ? q : zero); c != 0) return c;
  }
}

}  // namespace natural
namespace {

using natural::RunKind;

// A unit takes at most 2 bytes a byte of the text: a run of one letter or
// digit takes 2 and needs a byte apart from the runs beside it, unless one of
// them is of the other class; zeros and long numbers take less.
std::size_t key_size_bound(std::size_t size, const Order&) noexcept { return 24 + 2 * size; }

Keyed natural_key(std::string& out, std::string_view text, const Order&) {
  key_bytes::append_key(out, key_size_bound(text.size(), {}),
                        [&](key_bytes::Room& key) { natural::put_key(key, text); });
  return KeyFacts{};
}

// Every text reads.
Read natural_check(std::string_view, const Order&) { return {}; }

// By RunKind.
constexpr std::string_view kind_words[] = {"pre-release",  "word",   "zero",
                                           "post-release", "number", "letter suffix"};

std::expected<std::vector<Field>, ParseError> natural_fields(std::string_view text, const Order&) {
  Field runs{"runs", Field::Form::list, {}, {}};
  Field kinds{"kinds", Field::Form::list, {}, {}};
  for (const natural::Run& run : natural::read(text)) {
    runs.items.emplace_back(run.text);
    kinds.items.emplace_back(kind_words[static_cast<std::size_t>(run.kind)]);
  }
  return std::vector<Field>{std::move(runs), std::move(kinds)};
}

using RO = grammar::RangeOperator;
constexpr std::array<RO, 6> operators{RO::less,      RO::less_equal,    RO::equal,
                                      RO::not_equal, RO::greater_equal, RO::greater};

// Every text is a version, but a wildcard is none: "1.2.*" would be 1.2.
constexpr std::string_view no_wildcard = "letter or digit";

Read natural_range(grammar::RangeText& in, const Order& order, KeyRange& out) {
  return comparators_range(in, order, {operators, true, "*", no_wildcard}, out);
}

}  // namespace

const Row natural_row{
    .scheme = Scheme::natural,
    .names = names_of(Scheme::natural),
    .append_key = natural_key,
    .key_size_bound = key_size_bound,
    .fields = natural_fields,
    .read_range = natural_range,
    .check = natural_check,
    .compare = natural::compare,
};

}  // namespace tolva::scheme::detail
