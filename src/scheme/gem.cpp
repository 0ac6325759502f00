// RubyGems versions: N(.[0-9A-Za-z]+)*[-[0-9A-Za-z-]+(.[0-9A-Za-z-]+)*], read
// as segments (runs of digits, which compare as numbers, and runs of letters,
// which make a pre-release and sort below any number), '-' standing for
// ".pre.", and ordered as RubyGems orders them; requirements are =, !=, >,
// <, >=, <= and ~> joined by commas.
#include <array>
#include <optional>

#include "row.hpp"

namespace tolva::scheme::detail {
namespace {

using P = grammar::ExpectedPattern;
using key_bytes::is_digit;
using Op = grammar::RangeOperator;

constexpr std::string_view shown_segment = "letter or digit";
constexpr std::string_view shown_more = "'.', '-' or end of input";
constexpr std::string_view shown_comma = "','";
constexpr P segment_char{shown_segment};
constexpr P more{shown_more};
constexpr P comma{shown_comma};

bool is_letter(char c) noexcept { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool is_alnum(char c) noexcept { return is_digit(c) || is_letter(c); }

std::expected<void, ParseError> check_text(std::string_view s) {
  auto fail = [&](std::size_t at, P p) { return std::unexpected(grammar::failure_at(s, at, {p})); };
  std::size_t i = 0;
  while (i < s.size() && is_digit(s[i])) ++i;
  if (i == 0) return fail(0, P::Digit);
  bool hyphen = false;
  while (i < s.size()) {
    if (s[i] == '-' && !hyphen) {
      hyphen = true;
    } else if (s[i] != '.') {
      return fail(i, hyphen ? P::TokenDot : more);
    }
    const std::size_t start = ++i;
    while (i < s.size() && (is_alnum(s[i]) || (hyphen && s[i] == '-'))) ++i;
    if (i == start) return fail(i, segment_char);
  }
  return {};
}

// A segment: a run of digits (a number) or of letters (a word).
struct Segment {
  std::string_view text;
  bool number = false;
};

// The segments of a checked text in order, '-' as the word "pre".
class Segments {
 public:
  explicit Segments(std::string_view s) noexcept : s_(s) {}
  std::optional<Segment> next() noexcept {
    // A local cursor: the text's bytes could alias i_.
    std::size_t i = i_;
    while (i < s_.size() && s_[i] == '.') ++i;
    if (i == s_.size()) return std::nullopt;
    const std::size_t start = i;
    if (s_[i] == '-') {
      i_ = i + 1;
      return Segment{"pre", false};
    }
    const bool number = is_digit(s_[i]);
    if (number) {
      while (i < s_.size() && is_digit(s_[i])) ++i;
    } else {
      while (i < s_.size() && is_letter(s_[i])) ++i;
    }
    i_ = i;
    return Segment{s_.substr(start, i - start), number};
  }

 private:
  std::string_view s_;
  std::size_t i_ = 0;
};

bool is_zero(const Segment& s) noexcept {
  if (!s.number) return false;
  for (char c : s.text) {
    if (c != '0') return false;
  }
  return true;
}

// Marks. A sequence compares as if padded with zeros, so each run of zero
// segments is folded into the segment after it: a word after zeros lies
// below the end, and lower the fewer zeros come before it; a number after
// zeros lies above the end, and lower the more zeros come before it. Words
// fall in three classes by how they compare with "pre", which '-' stands
// for: below, "pre" itself (written as its class alone, so that '-' takes
// one byte), and above. A word right after the segment before it is its
// class's mark and its letters; after zeros, word_later, the zeros less one
// as a count, its class's mark and its letters. The marks lie below every
// letter, so they also end a word before them.
enum : std::uint8_t {
  below_now = 4,
  pre_now,
  above_now,
  word_later,
  sequence_end,
  number_later,
  number_now
};

std::uint8_t word_class(std::string_view word) noexcept {
  constexpr std::string_view pre = "pre";
  for (std::size_t i = 0; i < pre.size(); ++i) {
    if (i == word.size()) return below_now;
    if (word[i] != pre[i]) return word[i] < pre[i] ? below_now : above_now;
  }
  return word.size() == pre.size() ? pre_now : above_now;
}

// The key of the segments, trailing zeros of the numbers before the first
// word and of the whole dropped, as RubyGems drops them. At most two bytes a
// byte of text and the end: '-' takes one, a one-letter word or one-digit
// number two, and a word after zeros four, two of them for its "0." or "0".
template <class Sink>
void put_key(Sink& out, std::string_view text) {
  std::uint64_t zeros = 0;
  bool words = false;
  Segments segments(text);
  while (const auto seg = segments.next()) {
    if (is_zero(*seg)) {
      ++zeros;
      continue;
    }
    if (!seg->number && !words) zeros = 0;  // zeros ending the release are dropped
    words = words || !seg->number;
    if (seg->number) {
      out.put(zeros == 0 ? number_now : number_later);
      if (zeros != 0) key_bytes::put_count(out, zeros - 1, true);
      key_bytes::put_number(out, seg->text);
    } else {
      const std::uint8_t mark = word_class(seg->text);
      if (zeros != 0) {
        out.put(word_later);
        key_bytes::put_count(out, zeros - 1);
      }
      out.put(mark);
      if (mark != pre_now) key_bytes::put_text(out, seg->text);
    }
    zeros = 0;
  }
  out.put(sequence_end);
}

std::size_t gem_key_size_bound(std::size_t size, const Order&) noexcept { return 2 * size + 1; }

Keyed append_gem_key(std::string& out, std::string_view text, const Order& order) {
  if (auto ok = check_text(text); !ok) return std::unexpected(std::move(ok.error()));
  key_bytes::append_key(out, gem_key_size_bound(text.size(), order),
                        [&](key_bytes::Room& room) { put_key(room, text); });
  return KeyFacts{};
}

std::expected<std::vector<Field>, ParseError> gem_fields(std::string_view text, const Order&) {
  if (auto ok = check_text(text); !ok) return std::unexpected(std::move(ok.error()));
  Field all{"segments", Field::Form::list, {}, {}};
  Field pre{"prerelease", Field::Form::absent, {}, {}};
  Segments segments(text);
  while (const auto seg = segments.next()) {
    if (!seg->number) pre.form = Field::Form::list;
    const std::string_view shown =
        seg->number ? key_bytes::significant_digits(seg->text) : seg->text;
    std::string item(shown.empty() ? std::string_view("0") : shown);
    if (pre.form == Field::Form::list) pre.items.push_back(item);
    all.items.push_back(std::move(item));
  }
  return std::vector<Field>{std::move(all), std::move(pre)};
}

// ~> v: at least v, and a release below v's release with its last number
// (its only one when it has one) one higher.
KeyBound pessimistic_bound(std::string_view text) {
  std::vector<std::string> numbers;
  Segments segments(text);
  for (auto seg = segments.next(); seg && seg->number; seg = segments.next())
    numbers.emplace_back(seg->text);
  if (numbers.size() > 1) numbers.pop_back();
  // The last number one higher: '0' before it, then the nines carried.
  std::string last = "0" + numbers.back();
  std::size_t i = last.size();
  while (last[i - 1] == '9') last[--i] = '0';
  ++last[i - 1];
  numbers.back() = std::move(last);
  std::string bumped;
  for (const std::string& n : numbers) bumped.append(bumped.empty() ? "" : ".").append(n);
  // The cut names no version (text): none is the least of the bumped release's.
  KeyBound b{RangeOp::less, {}, {}, {}, {}, {}};
  key_bytes::WholeKey out(b.key);
  put_key(out, bumped);
  // Below every version whose release is the bumped one: its pre-releases
  // continue it with a word, whose marks start at below_now.
  b.key.back() = static_cast<char>(below_now);
  return b;
}

constexpr std::array<Op, 7> operators{Op::equal,         Op::not_equal,  Op::greater,      Op::less,
                                      Op::greater_equal, Op::less_equal, Op::tilde_greater};

Read read_gem_range(grammar::RangeText& in, const Order&, KeyRange& out) {
  auto& bounds = out.alternatives.emplace_back();
  for (;;) {
    in.skip_blanks();
    auto op = in.take_operator(operators, P::RangeOperand);
    if (!op) return std::unexpected(std::move(op.error()));
    const std::size_t start = in.pos();
    const std::string_view operand = in.take_operand(true);
    if (auto ok = check_text(operand); !ok) return in.fail_in_operand(std::move(ok.error()), start);
    KeyBound b{RangeOp::equal, {}, {}, {}, std::string(operand), {}};
    key_bytes::WholeKey key(b.key);
    put_key(key, operand);
    switch (op->value_or(Op::equal)) {
      case Op::not_equal: b.op = RangeOp::not_equal; break;
      case Op::greater: b.op = RangeOp::greater; break;
      case Op::less: b.op = RangeOp::less; break;
      case Op::less_equal: b.op = RangeOp::less_equal; break;
      case Op::greater_equal:
      case Op::tilde_greater: b.op = RangeOp::greater_equal; break;
      default: break;
    }
    bounds.push_back(std::move(b));
    if (*op == Op::tilde_greater) bounds.push_back(pessimistic_bound(operand));
    in.skip_blanks();
    if (in.at_end()) return {};
    if (!in.at(',')) return in.fail(in.pos(), {comma, P::EndOfInput});
    in.move_to(in.pos() + 1);
  }
}

std::expected<std::string_view, ParseError> read(std::string_view text) {
  if (auto ok = check_text(text); !ok) return std::unexpected(std::move(ok.error()));
  return text;
}

// The segments RubyGems compares: the zeros that end the numbers before the
// first word are left out.
class Canonical {
 public:
  explicit Canonical(std::string_view text) noexcept : segments_(text) {}
  std::optional<Segment> next() noexcept {
    if (zeros_ > 0) {
      --zeros_;
      return Segment{"0", true};
    }
    if (held_) {
      held_ = false;
      return after_zeros_;
    }
    auto seg = segments_.next();
    if (!words_ && seg && is_zero(*seg)) {
      // Read to the run's end, then give its zeros unless a word follows.
      std::size_t run = 1;
      while ((after_zeros_ = segments_.next()) && is_zero(*after_zeros_)) ++run;
      if (!after_zeros_ || after_zeros_->number) {
        zeros_ = run - 1;
        held_ = true;
      } else {
        seg = after_zeros_;
      }
    }
    words_ = words_ || (seg && !seg->number);
    return seg;
  }

 private:
  Segments segments_;
  std::size_t zeros_ = 0;
  bool held_ = false;  // after_zeros_ comes once zeros_ are given
  std::optional<Segment> after_zeros_;
  bool words_ = false;
};

// Segment by segment, the shorter padded with zeros: a word below a number,
// numbers by value, words byte by byte.
std::weak_ordering compare(std::string_view a, std::string_view b) noexcept {
  Canonical x(a), y(b);
  for (;;) {
    const auto p = x.next(), q = y.next();
    if (!p && !q) return std::weak_ordering::equivalent;
    const Segment l = p.value_or(Segment{"0", true}), r = q.value_or(Segment{"0", true});
    if (l.number != r.number)
      return l.number ? std::weak_ordering::greater : std::weak_ordering::less;
    const std::weak_ordering c =
        l.number ? key_bytes::compare_numbers(l.text, r.text) : l.text.compare(r.text) <=> 0;
    if (c != 0) return c;
  }
}

}  // namespace

const Row gem_row = row_of<read, compare>(Scheme::gem, append_gem_key, gem_key_size_bound,
                                          gem_fields, read_gem_range);

}  // namespace tolva::scheme::detail
