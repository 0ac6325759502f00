// RubyGems versions: N(.[0-9A-Za-z]+)*[-[0-9A-Za-z-]+(.[0-9A-Za-z-]+)*], read
// as segments (runs of digits, which compare as numbers, and runs of letters,
// which make a pre-release and sort below any number), '-' standing for
// ".pre.", and ordered as RubyGems orders them; requirements are =, !=, >,
// <, >=, <= and ~> joined by commas.
#include <array>

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

// The segments of a text in order, '-' as the segment "pre", calling
// `each(segment, is_number)`.
template <class Each>
void segments(std::string_view s, Each each) {
  for (std::size_t i = 0; i < s.size();) {
    if (s[i] == '-') {
      each(std::string_view("pre"), false);
      ++i;
    } else if (is_alnum(s[i])) {
      const bool number = is_digit(s[i]);
      const std::size_t start = i;
      while (i < s.size() && is_alnum(s[i]) && is_digit(s[i]) == number) ++i;
      each(s.substr(start, i - start), number);
    } else {
      ++i;
    }
  }
}

// Token marks. A sequence compares as if padded with zeros, so each run of
// zero segments is folded into the segment after it: a word after z zeros
// lies below the end, and lower the fewer zeros come before it; a number
// after z zeros lies above the end, and lower the more zeros come before it.
// The marks lie below every letter, so they also end a word before them.
enum : std::uint8_t { word_now = 4, word_later, sequence_end, number_later, number_now };

// The key of the segments, trailing zeros of the numbers before the first
// word and of the whole dropped, as RubyGems drops them.
template <class Sink>
void put_key(Sink& out, std::string_view text) {
  std::uint64_t zeros = 0;
  bool words = false;
  segments(text, [&](std::string_view seg, bool number) {
    if (number && key_bytes::significant_digits(seg).empty()) {
      ++zeros;
      return;
    }
    if (!number && !words) zeros = 0;  // zeros ending the release are dropped
    words = words || !number;
    if (number) {
      out.put(zeros == 0 ? number_now : number_later);
      if (zeros != 0) key_bytes::put_count(out, zeros - 1, true);
      key_bytes::put_number(out, seg);
    } else {
      out.put(zeros == 0 ? word_now : word_later);
      if (zeros != 0) key_bytes::put_count(out, zeros - 1);
      key_bytes::put_text(out, seg);
    }
    zeros = 0;
  });
  out.put(sequence_end);
}

Keyed append_gem_key(std::string& out, std::string_view text, const Order&) {
  if (auto ok = check_text(text); !ok) return std::unexpected(std::move(ok.error()));
  // '-' becomes the four bytes of the word "pre".
  key_bytes::append_key(out, 4 * text.size() + 1,
                        [&](key_bytes::Room& room) { put_key(room, text); });
  return KeyFacts{};
}

std::size_t gem_key_size_bound(std::size_t size, const Order&) noexcept { return 4 * size + 1; }

std::expected<std::vector<Field>, ParseError> gem_fields(std::string_view text, const Order&) {
  if (auto ok = check_text(text); !ok) return std::unexpected(std::move(ok.error()));
  Field all{"segments", Field::Form::list, {}, {}};
  Field pre{"prerelease", Field::Form::absent, {}, {}};
  segments(text, [&](std::string_view seg, bool number) {
    if (!number) pre.form = Field::Form::list;
    const std::string_view shown = number ? key_bytes::significant_digits(seg) : seg;
    std::string item(shown.empty() ? std::string_view("0") : shown);
    if (pre.form == Field::Form::list) pre.items.push_back(item);
    all.items.push_back(std::move(item));
  });
  return std::vector<Field>{std::move(all), std::move(pre)};
}

// ~> v: at least v, and a release below v's release with its last number
// (its only one when it has one) one higher.
KeyBound pessimistic_bound(std::string_view text) {
  std::vector<std::string> numbers;
  bool words = false;
  segments(text, [&](std::string_view seg, bool number) {
    words = words || !number;
    if (!words) numbers.emplace_back(seg);
  });
  if (numbers.size() > 1) numbers.pop_back();
  // The last number one higher: '0' before it, then the nines carried.
  std::string last = "0" + numbers.back();
  std::size_t i = last.size();
  while (last[i - 1] == '9') last[--i] = '0';
  ++last[i - 1];
  numbers.back() = std::move(last);
  std::string bumped;
  for (const std::string& n : numbers) bumped.append(bumped.empty() ? "" : ".").append(n);
  KeyBound b{RangeOp::less, {}, {}, {}, {}};
  key_bytes::WholeKey out(b.key);
  put_key(out, bumped);
  // Below every version whose release is the bumped one: its pre-releases
  // continue it with a word, which starts at word_now.
  b.key.back() = static_cast<char>(word_now);
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
    KeyBound b{RangeOp::equal, {}, {}, {}, {}};
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

}  // namespace

const Row gem_row{Scheme::gem,
                  names_of(Scheme::gem),
                  append_gem_key,
                  gem_key_size_bound,
                  gem_fields,
                  read_gem_range,
                  check_by_reading<check_text>,
                  compare_by_keys<append_gem_key>};

}  // namespace tolva::scheme::detail
