#include <algorithm>
#include <string>
#include <vector>

#include "row.hpp"

// Maven artifact versions, as Maven's ComparableVersion reads them: any text
// but the empty one and those holding blanks or control characters. A text
// is a list of items: numbers (of any length) and qualifiers, split at '.',
// '-' and each change between digits and other characters. A '-', a change
// between digits and letters, and a qualifier after a '.' that a digit or
// the end follows each open a sublist that holds the rest of the text. A
// list drops the zeros, empty lists and release qualifiers ("", ga, final,
// release) it ends with, also before its sublist: 1.0 = 1 = 1-0 = 1.ga.
// Qualifiers: alpha < beta < milestone < rc (= cr) < snapshot < release <
// sp < any other word (by its letters, without regard to ASCII case); a, b
// and m before a digit are alpha, beta and milestone.
//
// The order compares lists item by item. Maven compares an item with a
// missing one by the item's sign (below, equal to or above a release) but
// two present items by type (qualifier < list < number), which is not
// transitive ("1.sp.1" < "1-alpha" < "1" < "1.sp.1"). Here items compare by
// sign first, then by type, then by value; a zero or release qualifier
// takes the sign of the first item after it in its list. This agrees with
// Maven on every pair whose order Maven does not contradict through a third.
//
// Key: each item is a mark (its sign, its type) then its value: a number,
// or for an unknown qualifier its letters folded. A sublist's mark is merged
// with that of its first item; the key ends with one `finished` mark, as the
// items of a list follow only when its sublists have ended. Marks below
// `finished` are those of items below a release. Every mark lies below every
// byte a qualifier holds (blanks and controls are refused), so a qualifier
// needs no terminator: the mark after it ends it, and it sorts before its
// own extensions.
//
// Ranges: "[1.0,2.0)", "(,1.0]", "[1.5]" (exactly), unions "[1,2),[3,4)",
// and a bare "1.0", Maven's soft requirement, which every version meets.
namespace tolva::scheme::detail {
namespace {

using P = grammar::ExpectedPattern;
namespace kb = key_bytes;

constexpr std::string_view shown_character = "character other than a blank",
                           shown_open = "'[' or '('", shown_close = "']' or ')'",
                           shown_comma = "','", shown_ordered = "version not below the lower bound",
                           shown_after = "version not below the previous interval's end";
constexpr P version_character{shown_character}, opening{shown_open}, closing{shown_close},
    token_comma{shown_comma}, ordered{shown_ordered}, after{shown_after};

constexpr std::uint8_t release_rank = 5;  // qualifiers below are pre-releases
constexpr std::uint8_t other_rank = 7;    // a word Maven does not know
constexpr std::uint8_t finished = 0x12;

// What the text is made of, in its order: items and the opening of sublists.
struct Token {
  // In the order items of one sign compare: qualifier < sublist < number.
  enum class Kind : std::uint8_t { word, open, number, end } kind = Kind::end;
  std::string_view text;  // a number's digits, a word's letters
  std::uint8_t rank = 0;  // a word's
  // An item's place against a release standing alone: below (-1), equal
  // (0) or above (1); 0 for an opening or the end.
  int sign() const noexcept {
    if (kind == Kind::number) return kb::significant_digits(text).empty() ? 0 : 1;
    if (kind != Kind::word) return 0;
    return rank < release_rank ? -1 : rank == release_rank ? 0 : 1;
  }
};
using Kind = Token::Kind;

char lower(char c) noexcept { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
bool same_word(std::string_view a, std::string_view b) noexcept {
  return std::ranges::equal(a, b, [](char x, char y) { return lower(x) == y; });
}

Token word(std::string_view text, bool before_digit) noexcept {
  static constexpr std::string_view names[] = {"alpha", "beta",  "milestone", "rc", "snapshot",
                                               "ga",    "final", "release",   "sp", "cr"};
  static constexpr std::uint8_t ranks[] = {0, 1, 2, 3, 4, 5, 5, 5, 6, 3};
  if (before_digit && text.size() == 1) {
    const char c = lower(text[0]);
    if (c == 'a' || c == 'b' || c == 'm')
      return {Kind::word, text, std::uint8_t(c == 'b' ? 1 : c == 'm' ? 2 : 0)};
  }
  for (std::size_t i = 0; i < std::size(names); ++i)
    if (same_word(text, names[i])) return {Kind::word, text, ranks[i]};
  return {Kind::word, text, other_rank};
}

// The tokens of a text, one at a time (Kind::end once past the end).
class Tokens {
 public:
  explicit Tokens(std::string_view text) noexcept : text_(text) {}

  Token peek() noexcept {
    while (head_ == size_ && !done_) step();
    return head_ < size_ ? queue_[head_] : Token{};
  }
  Token next() noexcept {
    const Token t = peek();
    head_ += head_ < size_;
    return t;
  }

 private:
  void push(Token t) noexcept {
    queue_[size_++] = t;
    filled_ = t.kind != Kind::open;
  }
  Token item(std::size_t end, bool before_digit = false) const noexcept {
    const std::string_view run = text_.substr(start_, end - start_);
    return digit_ ? Token{Kind::number, run} : word(run, before_digit);
  }
  void step() noexcept {
    head_ = size_ = 0;
    if (pos_ == text_.size()) {
      done_ = true;
      if (start_ == pos_) return;
      if (!digit_ && filled_) push({Kind::open, {}, 0});
      return push(item(pos_));
    }
    const char c = text_[pos_];
    if (c == '.' || c == '-') {
      push(pos_ == start_ ? Token{Kind::number, {}, 0} : item(pos_));
      if (c == '-') push({Kind::open, {}, 0});
      start_ = pos_ + 1;
    } else if (kb::is_digit(c) != digit_ && pos_ > start_) {
      if (!digit_ && filled_) push({Kind::open, {}, 0});
      push(item(pos_, true));
      push({Kind::open, {}, 0});
      start_ = pos_;
    }
    if (c != '.' && c != '-') digit_ = kb::is_digit(c);
    ++pos_;
  }

  std::string_view text_;
  std::size_t pos_ = 0, start_ = 0;
  bool digit_ = false, filled_ = false, done_ = false;
  Token queue_[3];
  std::uint8_t head_ = 0, size_ = 0;
};

Read read(std::string_view text) {
  if (text.empty()) return std::unexpected(grammar::failure_at(text, 0, {P::RangeOperand}));
  const auto bad =
      std::ranges::find_if(text, [](char c) { return (c >= 0 && c <= ' ') || c == 0x7F; });
  if (bad == text.end()) return {};
  return std::unexpected(grammar::failure_at(text, bad - text.begin(), {version_character}));
}

std::size_t key_size_bound(std::size_t size, const Order&) noexcept { return 2 * size + 8; }

// Writes an item of the sign (-1 or 1); a sublist's mark waits for its first
// item (`opened`), with whose mark it is merged.
void put_item(kb::Room& room, const Token& t, int sign, bool& opened) {
  const int base = sign < 0 ? 0x03 : 0x13, words = sign < 0 ? 6 : 3;  // qualifier ranks
  const int rank = sign < 0 ? t.rank : t.rank - release_rank;
  if (opened) {
    room.put(static_cast<std::uint8_t>(base + words +
                                       (t.kind == Kind::word ? rank : words + int(t.kind) - 1)));
  } else if (t.kind != Kind::open) {
    room.put(static_cast<std::uint8_t>(t.kind == Kind::word ? base + rank : base + 2 * words + 2));
  }
  opened = t.kind == Kind::open;
  if (t.kind == Kind::number) return kb::put_number(room, t.text);
  if (t.kind != Kind::word || t.rank != other_rank) return;
  for (char c : t.text) room.put(static_cast<std::uint8_t>(lower(c)));
}

Keyed append_key(std::string& out, std::string_view text, const Order& order) {
  if (auto r = read(text); !r) return std::unexpected(r.error());
  kb::append_key(out, key_size_bound(text.size(), order), [&](kb::Room& room) {
    Tokens walk(text);
    bool opened = false;  // a sublist's mark waits for its first item
    for (Token t = walk.next(); t.kind != Kind::end; t = walk.next()) {
      if (t.sign() != 0) {
        put_item(room, t, t.sign(), opened);
        continue;
      }
      // Zeros and openings up to the next item with a sign, which they take;
      // none left: they are the end of their lists, dropped.
      if (const Token u = walk.peek(); u.sign() != 0) {
        put_item(room, t, u.sign(), opened);
        continue;
      }
      Tokens ahead = walk;
      std::size_t run = 1, last_open = t.kind == Kind::open ? 1 : 0;
      Token signed_item = ahead.next();
      for (; signed_item.kind != Kind::end; signed_item = ahead.next()) {
        if (signed_item.sign() != 0) break;
        if (signed_item.kind == Kind::open) last_open = run + 1;
        ++run;
      }
      if (signed_item.kind == Kind::end) break;
      const int sign = signed_item.sign();
      // A zero before an opening ends its list there and is dropped.
      for (std::size_t i = 1; i <= run; ++i, t = walk.next())
        if (t.kind == Kind::open || i > last_open) put_item(room, t, sign, opened);
      put_item(room, t, sign, opened);
    }
    room.put(finished);
  });
  return KeyFacts{};
}

// A version's items in the order of its text, a sublist as an opening
// before its items, each with the sign it orders by; the zeros that end a
// list and the openings of nothing dropped.
struct Item {
  Token token;
  int sign;
};

std::expected<std::vector<Item>, ParseError> read_items(std::string_view text) {
  if (auto r = read(text); !r) return std::unexpected(r.error());
  std::vector<Item> items;
  Tokens walk(text);
  for (Token t = walk.next(); t.kind != Kind::end; t = walk.next()) items.push_back({t, t.sign()});
  int sign = 0;
  bool list_ends = true;  // no item with a sign follows in the same list
  for (auto i = items.rbegin(); i != items.rend(); ++i) {
    if (i->token.kind == Kind::open) {
      list_ends = true;
      if (sign == 0) i->token.kind = Kind::end;
    } else if (i->sign != 0) {
      sign = i->sign, list_ends = false;
    } else if (list_ends) {
      i->token.kind = Kind::end;
    }
    i->sign = sign;
  }
  std::erase_if(items, [](const Item& i) { return i.token.kind == Kind::end; });
  return items;
}

// Item by item: by sign (an item beyond the end of the other's list by its
// own), then qualifier < sublist < number, then by value.
std::weak_ordering compare(const std::vector<Item>& a, const std::vector<Item>& b) noexcept {
  for (std::size_t i = 0;; ++i) {
    if (i == a.size() || i == b.size())
      return (i < a.size() ? a[i].sign : 0) <=> (i < b.size() ? b[i].sign : 0);
    const Token &p = a[i].token, &q = b[i].token;
    if (auto c = a[i].sign <=> b[i].sign; c != 0) return c;
    if (auto c = p.kind <=> q.kind; c != 0) return c;
    if (p.kind == Kind::number) {
      if (auto c = kb::compare_numbers(p.text, q.text); c != 0) return c;
    } else if (auto c = p.rank <=> q.rank; c != 0) {
      return c;
    } else if (p.rank == other_rank) {
      const std::size_t common = std::min(p.text.size(), q.text.size());
      for (std::size_t n = 0; n < common; ++n) {
        const auto m = static_cast<unsigned char>(lower(p.text[n]));
        if (auto c = m <=> static_cast<unsigned char>(lower(q.text[n])); c != 0) return c;
      }
      if (auto c = p.text.size() <=> q.text.size(); c != 0) return c;
    }
  }
}

// Maven's canonical form: a list's items joined by '.', a sublist after a
// '-' (neither after nothing), numbers without leading zeros, qualifiers by
// their names.
std::expected<std::vector<Field>, ParseError> fields(std::string_view text, const Order&) {
  auto read = read_items(text);
  if (!read) return std::unexpected(read.error());
  static constexpr std::string_view names[] = {"alpha",    "beta", "milestone", "rc",
                                               "snapshot", "",     "sp"};
  Field items{"items", Field::Form::list, {}, {}};
  std::vector<std::string> own(1);  // each list's items
  for (const Item& item : *read) {
    if (item.token.kind == Kind::open) {
      own.emplace_back();
      continue;
    }
    std::string& shown = items.items.emplace_back();
    if (item.token.kind == Kind::number) {
      const std::string_view digits = kb::significant_digits(item.token.text);
      shown.assign(digits.empty() ? std::string_view("0") : digits);
    } else if (item.token.rank != other_rank) {
      shown = names[item.token.rank];
    } else {
      for (char c : item.token.text) shown += lower(c);
    }
    own.back().append(own.back().empty() ? "" : ".").append(shown);
  }
  std::string canonical;
  for (std::size_t k = own.size(); k-- > 0;)
    canonical =
        std::move(own[k].append(own[k].empty() || canonical.empty() ? "" : "-") += canonical);
  return std::vector<Field>{text_field("canonical", canonical), std::move(items)};
}

// The version at the cursor as the bound `op` version, with the blanks after it.
std::expected<KeyBound, ParseError> take_bound(grammar::RangeText& in, const Order& order,
                                               RangeOp op) {
  const std::size_t start = in.pos();
  const std::string_view operand =
      in.text().substr(start).substr(0, in.text().substr(start).find_first_of(" \t,[]()"));
  in.move_to(start + operand.size());
  in.skip_blanks();
  if (operand.empty()) return in.fail(start, {P::RangeOperand});
  return operand_bound(in, start, op, operand, order);
}

// Past `c` and the blanks after it, if it stands at the cursor.
bool take(grammar::RangeText& in, char c) noexcept {
  if (!in.at(c)) return false;
  in.move_to(in.pos() + 1);
  in.skip_blanks();
  return true;
}

// Intervals, each "[" or "(", an optional lower bound, ",", an optional
// upper bound, "]" or ")", or "[v]"; commas may stand between them. Each
// starts at or above the upper end of the one before, as Maven asks (if that
// one has one). A bare version, alone, holds every version.
Read read_range(grammar::RangeText& in, const Order& order, KeyRange& out) {
  in.skip_blanks();
  if (!in.at('[') && !in.at('(')) {
    if (in.at_end()) return in.fail(in.pos(), {opening, P::RangeOperand});
    if (auto bound = take_bound(in, order, RangeOp::equal); !bound)
      return std::unexpected(bound.error());
    out.alternatives.emplace_back();
    return in.at_end() ? Read{} : in.fail(in.pos(), {P::EndOfInput});
  }
  std::string end;  // the key of the interval before's upper end, if `ended`
  for (bool ended = false; in.at('[') || in.at('(');) {
    auto& bounds = out.alternatives.emplace_back();
    const bool low_in = take(in, '[') || !take(in, '(');
    const std::size_t low_at = in.pos();
    if (!in.at(',')) {
      auto low = take_bound(in, order, low_in ? RangeOp::greater_equal : RangeOp::greater);
      if (!low) return std::unexpected(low.error());
      bounds.push_back(*std::move(low));
    }
    if (ended && (bounds.empty() || bounds[0].key < end)) return in.fail(low_at, {after});
    ended = !bounds.empty() && low_in && in.at(']');
    if (ended) {
      bounds[0].op = RangeOp::equal;  // [v]: exactly v
    } else if (!take(in, ',')) {
      return in.fail(in.pos(), {token_comma});
    } else if (!in.at(']') && !in.at(')')) {
      const std::size_t high_at = in.pos();
      auto high = take_bound(in, order, RangeOp::less);
      if (!high) return std::unexpected(high.error());
      if (in.at(']')) high->op = RangeOp::less_equal;
      // The ends in order, equal ones only both inclusive.
      if (!bounds.empty() &&
          (high->key < bounds[0].key || (high->key == bounds[0].key && !(low_in && in.at(']')))))
        return in.fail(high_at, {ordered});
      bounds.push_back(*std::move(high));
      ended = true;
    }
    if (ended) end = bounds.back().key;
    if (!take(in, ']') && !take(in, ')')) return in.fail(in.pos(), {closing});
    take(in, ',');
  }
  return in.at_end() ? Read{} : in.fail(in.pos(), {opening, P::EndOfInput});
}

}  // namespace

const Row maven_row{
    .scheme = Scheme::maven,
    .names = names_of(Scheme::maven),
    .append_key = append_key,
    .key_size_bound = key_size_bound,
    .fields = fields,
    .read_range = read_range,
    .check = [](std::string_view text, const Order&) { return read(text); },
    .compare = compare_by_reading<read_items, compare>,
};

}  // namespace tolva::scheme::detail
