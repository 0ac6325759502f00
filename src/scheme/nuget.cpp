#include <algorithm>
#include <ranges>
#include <string>

#include "row.hpp"

// NuGet package versions: one to four numbers (each at most 2147483647,
// leading zeros allowed), a SemVer 2.0.0 pre-release label and build
// metadata. Missing numbers are zeros (1.0 = 1.0.0.0); labels compare
// without regard to case; metadata does not order.
//
// Key: the four numbers; then a release's mark, or each label identifier (a
// number's mark and the number, or a word's mark and the word folded to
// lower case with its terminator) and the list's end. Marks: end 0x01 <
// number 0x02 < word 0x03 < release 0x04.
//
// Ranges are intervals: "[1.0,2.0)", "(,1.0]", "[1.0]" (exactly), and a bare
// "1.0", which means 1.0 or later.
namespace tolva::scheme::detail {
namespace {

using P = grammar::ExpectedPattern;
namespace kb = key_bytes;

constexpr std::string_view shown_number = "number up to 2147483647";
constexpr std::string_view shown_letter_or_hyphen = "letter or '-'";
constexpr std::string_view shown_open = "'[' or '('", shown_close = "']' or ')'",
                           shown_comma = "','";
constexpr P small_number{shown_number}, letter_or_hyphen{shown_letter_or_hyphen},
    opening{shown_open}, closing{shown_close}, token_comma{shown_comma};

constexpr std::uint8_t number_mark = 0x02;
constexpr std::uint8_t word_mark = 0x03;
constexpr std::uint8_t release_mark = 0x04;

constexpr bool is_identifier_char(char c) noexcept {
  return kb::is_digit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-';
}
bool all_digits(std::string_view s) noexcept { return std::ranges::all_of(s, kb::is_digit); }
char lower(char c) noexcept { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

struct Parts {
  std::string_view numbers[4];       // empty when left out
  std::string_view label, metadata;  // without their '-' and '+'
};

class Reader {
 public:
  explicit Reader(std::string_view text) noexcept : text_(text) {}

  std::expected<Parts, ParseError> read() {
    Parts parts;
    for (std::size_t i = 0; i < 4; ++i) {
      if (i > 0 && !at('.')) break;
      if (i > 0) ++pos_;
      const std::size_t start = pos_;
      pos_ = digits_end(start);
      parts.numbers[i] = text_.substr(start, pos_ - start);
      if (parts.numbers[i].empty()) return fail({P::Digit});
      // Nine digits never exceed the largest number.
      if (pos_ - start > 9 && kb::compare_numbers(parts.numbers[i], "2147483647") > 0) {
        pos_ = start;
        return fail({small_number});
      }
    }
    if (at('-')) {
      ++pos_;
      if (auto ids = identifiers(true); !ids)
        return std::unexpected(ids.error());
      else
        parts.label = *ids;
    }
    if (at('+')) {
      ++pos_;
      if (auto ids = identifiers(false); !ids)
        return std::unexpected(ids.error());
      else
        parts.metadata = *ids;
    }
    if (pos_ == text_.size()) return parts;
    if (!parts.metadata.empty()) return fail({P::PartChar, P::TokenDot, P::EndOfInput});
    if (!parts.label.empty()) return fail({P::PartChar, P::TokenDot, P::TokenPlus, P::EndOfInput});
    if (parts.numbers[3].empty())
      return fail({P::Digit, P::TokenDot, P::TokenHyphen, P::TokenPlus, P::EndOfInput});
    return fail({P::Digit, P::TokenHyphen, P::TokenPlus, P::EndOfInput});
  }

 private:
  bool at(char c) const noexcept { return pos_ < text_.size() && text_[pos_] == c; }
  // Where the digits from `at` end; a local cursor, as the text's bytes
  // could alias pos_.
  std::size_t digits_end(std::size_t at) const noexcept {
    while (at < text_.size() && kb::is_digit(text_[at])) ++at;
    return at;
  }
  std::unexpected<ParseError> fail(std::initializer_list<P> expected) const {
    return std::unexpected(grammar::failure_at(text_, pos_, expected));
  }

  // Dot-separated identifiers; a numeric label identifier has no leading
  // zero.
  std::expected<std::string_view, ParseError> identifiers(bool label) {
    const std::size_t start = pos_;
    for (;;) {
      const std::size_t first = pos_;
      while (pos_ < text_.size() && is_identifier_char(text_[pos_])) ++pos_;
      const std::string_view id = text_.substr(first, pos_ - first);
      if (id.empty()) return fail({P::Identifier});
      if (label && id.size() > 1 && id[0] == '0' && all_digits(id)) {
        pos_ = first + 1;
        return fail({letter_or_hyphen});
      }
      if (!at('.')) return text_.substr(start, pos_ - start);
      ++pos_;
    }
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

std::size_t key_size_bound(std::size_t size, const Order&) noexcept { return 2 * size + 8; }

Keyed append_key(std::string& out, std::string_view text, const Order& order) {
  auto parts = Reader(text).read();
  if (!parts) return std::unexpected(parts.error());
  kb::append_key(out, key_size_bound(text.size(), order), [&](kb::Room& room) {
    for (std::string_view number : parts->numbers) kb::put_number(room, number);
    if (parts->label.empty()) return room.put(release_mark);
    for (std::string_view rest = parts->label; !rest.empty();) {
      const std::string_view word = rest.substr(0, rest.find('.'));
      rest.remove_prefix(std::min(rest.size(), word.size() + 1));
      if (all_digits(word)) {
        room.put(number_mark);
        kb::put_number(room, word);
        continue;
      }
      room.put(word_mark);
      for (char c : word) room.put(static_cast<std::uint8_t>(lower(c)));
      room.put(kb::end);
    }
    room.put(kb::end);
  });
  return KeyFacts{};
}

// NuGet's normal form: numbers without leading zeros, at least three, the
// fourth only when it is not 0, the label as written, no metadata.
std::string normalized(const Parts& parts) {
  std::string out;
  for (std::size_t i = 0; i < 4; ++i) {
    std::string_view digits = kb::significant_digits(parts.numbers[i]);
    if (i == 3 && digits.empty()) break;
    if (i > 0) out += '.';
    out += digits.empty() ? "0" : digits;
  }
  if (!parts.label.empty()) out.append("-").append(parts.label);
  return out;
}

std::expected<std::vector<Field>, ParseError> fields(std::string_view text, const Order&) {
  auto parts = Reader(text).read();
  if (!parts) return std::unexpected(parts.error());
  return std::vector<Field>{
      text_field("normalized", normalized(*parts)), number_field("major", parts->numbers[0]),
      number_field("minor", parts->numbers[1]),     number_field("patch", parts->numbers[2]),
      number_field("revision", parts->numbers[3]),  list_field("prerelease", parts->label, '.'),
      list_field("metadata", parts->metadata, '.')};
}

std::expected<Parts, ParseError> read(std::string_view text) { return Reader(text).read(); }

// Numbers, then a release above its pre-releases, whose identifiers compare
// one by one: numbers by value below words, words without regard to case.
std::weak_ordering compare(const Parts& a, const Parts& b) noexcept {
  for (std::size_t i = 0; i < 4; ++i)
    if (auto c = kb::compare_numbers(a.numbers[i], b.numbers[i]); c != 0) return c;
  if (a.label.empty() || b.label.empty()) return a.label.empty() <=> b.label.empty();
  auto x = std::views::split(a.label, '.');
  auto y = std::views::split(b.label, '.');
  auto i = x.begin();
  auto j = y.begin();
  for (; i != x.end() && j != y.end(); ++i, ++j) {
    const std::string_view p((*i).begin(), (*i).end());
    const std::string_view q((*j).begin(), (*j).end());
    const bool p_number = all_digits(p);
    if (p_number != all_digits(q))
      return p_number ? std::weak_ordering::less : std::weak_ordering::greater;
    if (p_number) {
      if (auto c = kb::compare_numbers(p, q); c != 0) return c;
      continue;
    }
    // Byte by byte without regard to case (libc++ 16 has no
    // lexicographical_compare_three_way).
    const std::size_t common = p.size() < q.size() ? p.size() : q.size();
    for (std::size_t k = 0; k < common; ++k)
      if (auto c = lower(p[k]) <=> lower(q[k]); c != 0) return c;
    if (auto c = p.size() <=> q.size(); c != 0) return c;
  }
  return (i != x.end()) <=> (j != y.end());
}

// The version at the cursor, up to a blank, ',', ']', ')' or the end, as
// the bound `op` version.
std::expected<KeyBound, ParseError> take_bound(grammar::RangeText& in, const Order& order,
                                               RangeOp op) {
  const std::size_t start = in.pos();
  const std::string_view rest = in.text().substr(start);
  const std::size_t size = std::min(rest.find_first_of(" \t,])"), rest.size());
  in.move_to(start + size);
  in.skip_blanks();
  return operand_bound(in, start, op, rest.substr(0, size), order);
}

// "[" or "(", a lower bound, ",", an upper bound, "]" or ")", either bound
// left out but not both; "[v]"; or a bare lower bound.
Read read_range(grammar::RangeText& in, const Order& order, KeyRange& out) {
  in.skip_blanks();
  auto& bounds = out.alternatives.emplace_back();
  const auto push = [&](std::expected<KeyBound, ParseError> bound) -> Read {
    if (!bound) return std::unexpected(bound.error());
    bounds.push_back(*std::move(bound));
    return {};
  };
  if (!in.at('[') && !in.at('(')) {
    if (in.at_end()) return in.fail(in.pos(), {opening, P::RangeOperand});
    if (auto r = push(take_bound(in, order, RangeOp::greater_equal)); !r) return r;
    return in.at_end() ? Read{} : in.fail(in.pos(), {P::EndOfInput});
  }
  const bool low_inclusive = in.at('[');
  in.move_to(in.pos() + 1);
  in.skip_blanks();
  const std::size_t low_at = in.pos();
  const bool has_low = !in.at(',');
  if (has_low) {
    if (in.at(']') || in.at(')') || in.at_end())
      return in.fail(in.pos(), {P::RangeOperand, token_comma});
    if (auto r =
            push(take_bound(in, order, low_inclusive ? RangeOp::greater_equal : RangeOp::greater));
        !r)
      return r;
  }
  if (in.at(']') && has_low && low_inclusive) {
    bounds.back().op = RangeOp::equal;  // [v]: exactly v
  } else {
    if (!in.at(',')) return in.fail(in.pos(), {token_comma});
    in.move_to(in.pos() + 1);
    in.skip_blanks();
    if (!in.at(']') && !in.at(')')) {
      if (in.at(',') || in.at_end()) return in.fail(in.pos(), {P::RangeOperand, closing});
      if (auto r = push(take_bound(in, order, RangeOp::less)); !r) return r;
      if (in.at(']')) bounds.back().op = RangeOp::less_equal;
    } else if (!has_low) {
      return in.fail(low_at, {P::RangeOperand});
    }
  }
  if (!in.at(']') && !in.at(')')) return in.fail(in.pos(), {closing});
  in.move_to(in.pos() + 1);
  in.skip_blanks();
  return in.at_end() ? Read{} : in.fail(in.pos(), {P::EndOfInput});
}

}  // namespace

constinit const Row nuget_row =
    row_of<read, compare>(Scheme::nuget, append_key, key_size_bound, fields, read_range);

}  // namespace tolva::scheme::detail
