#include "tolva/scheme/natural.hpp"

#include "decimal_key.hpp"

namespace tolva::natural {
namespace {

using scheme::detail::is_digit;
using scheme::detail::is_letter;

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
  if (a.kind == RunKind::number) return scheme::detail::compare_decimal(a.text, b.text);
  if (a.kind == RunKind::zero) return std::strong_ordering::equal;
  return lower(a.text[0]) <=> lower(b.text[0]);
}

// A unit's first byte: a word right after the last unit, a word after zeros,
// the end, a run above zero after zeros, and one right after the last unit
// (0x3B plus its rank: post-release word 2, number 3, letter suffix 4).
constexpr unsigned word_unit = 0x10;
constexpr unsigned word_after_zeros = 0x11;
constexpr unsigned end_of_text = 0x20;
constexpr unsigned above_after_zeros = 0x30;
constexpr unsigned above_unit = 0x3B;

// The key of the text from `at`; the end of what was written.
char* put_key(char* at, std::string_view text) noexcept {
  using scheme::detail::put;
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
      at = zeros == 0 ? put(at, word_unit)
                      : scheme::detail::put_count(put(at, word_after_zeros), zeros);
      at = put(at, static_cast<unsigned char>(lower(run.text[0])));
    } else {
      // Fewer zeros before a run above zero put it later: the count is
      // complemented.
      if (zeros == 0) {
        at = put(at, above_unit + static_cast<unsigned>(rank(run.kind)));
      } else {
        char* count = put(at, above_after_zeros);
        at = scheme::detail::put_count(count, zeros);
        for (; count != at; ++count) *count = static_cast<char>(~*count);
        at = put(at, static_cast<unsigned>(rank(run.kind)));
      }
      at = run.kind == RunKind::number ? scheme::detail::put_decimal(at, run.text)
                                       : put(at, static_cast<unsigned char>(lower(run.text[0])));
    }
    zeros = 0;
  }
  return put(at, end_of_text);
}

}  // namespace

std::vector<Run> read(std::string_view text) {
  std::vector<Run> runs;
  Runs reader(text);
  for (Run run; reader.next(run);) runs.push_back(run);
  return runs;
}

std::weak_ordering compare(std::string_view a, std::string_view b) noexcept {
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

void append_order_key(std::string& out, std::string_view text) {
  scheme::detail::append_key(out, scheme::detail::natural_key_bound(text.size()),
                             [&](char* at) { return put_key(at, text); });
}

}  // namespace tolva::natural
