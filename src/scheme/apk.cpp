#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "comparator_bounds.hpp"
#include "row.hpp"
#include "values/key_bytes.hpp"

// Alpine's apk versions: numbers joined by dots, an optional lower-case
// letter, suffixes (_alpha, _beta, _pre, _rc, _cvs, _svn, _git, _hg, _p)
// each with an optional number, and an optional -rN; in apk-tools' order.
namespace tolva::scheme::detail {
namespace {

namespace kb = key_bytes;
using grammar::ExpectedPattern;

constexpr std::string_view shown_letter = "lower-case letter", shown_underscore = "'_'",
                           shown_r = "'r'", shown_dot = "'.'",
                           shown_suffix = "alpha, beta, pre, rc, cvs, svn, git, hg or p";
constexpr ExpectedPattern letter{shown_letter}, underscore{shown_underscore}, token_r{shown_r},
    dot{shown_dot}, suffix{shown_suffix};
constexpr ExpectedPattern digit = ExpectedPattern::Digit, hyphen = ExpectedPattern::TokenHyphen,
                          end = ExpectedPattern::EndOfInput;

// The suffixes in their order; the first four come before the release.
constexpr std::array<std::string_view, 9> suffixes = {"alpha", "beta", "pre", "rc", "cvs",
                                                      "svn",   "git",  "hg",  "p"};
constexpr std::size_t before_release = 4;

// The key follows apk's walk over a version's tokens, each a mark and a
// value: where two versions' tokens first differ in kind the marks decide,
// else the values. The marks in their order: a suffix before the release
// (one each, alpha to rc), the end, the revision, a suffix's number, a
// suffix after the release (one each, cvs to p), the letter, a number after
// no dot or after a dotted number's zeros, those zeros (their count,
// descending: apk has 1.00 < 1.0 < 1.01), a dotted number without them.
// After a dotted number's zeros the digits that follow are a number of
// their own, and so is nothing when a dot follows (1.0.1 is 1, 1 zero, 0, 1).
// Every byte writes at most two, and the end one.
enum Mark : std::uint8_t {
  alpha_mark = 0x01,  // to rc_mark, 0x04
  end_mark = 0x05,
  revision_mark,
  suffix_number_mark,
  cvs_mark,  // to p_mark, 0x0C
  letter_mark = 0x0D,
  number_mark,
  zeros_mark,
  dotted_mark,
};

// The parts of a version that read, as views into its text.
struct Parts {
  std::string_view numbers;   // "1.2.3"
  std::string_view letter;    // "a", or empty
  std::string_view suffixes;  // "rc1_p2", or empty
  std::string_view revision;  // the digits after "-r", or empty
};

// Reads the text in one pass, writing its key into `out` and noting its
// parts.
template <class Sink>
class Reader {
 public:
  Reader(std::string_view text, Sink& out) noexcept : text_(text), out_(out) {}
  const Parts& parts() const noexcept { return parts_; }

  Read read() {
    std::string_view d = digits();
    if (d.empty()) return fail({digit});
    put_number(number_mark, d);
    while (at('.')) {
      ++i_;
      if (d = digits(); d.empty()) return fail({digit});
      const std::size_t zeros = std::min(d.find_first_not_of('0'), d.size());
      if (zeros == 0) {
        put_number(dotted_mark, d);
        continue;
      }
      out_.put(zeros_mark);
      kb::put_count(out_, zeros, true);
      if (zeros < d.size() || at('.')) put_number(number_mark, d.substr(zeros));
    }
    parts_.numbers = text_.substr(0, i_);
    const bool lettered = i_ < text_.size() && text_[i_] >= 'a' && text_[i_] <= 'z';
    if (lettered) {
      parts_.letter = text_.substr(i_, 1);
      out_.put(letter_mark);
      out_.put(static_cast<std::uint8_t>(text_[i_++]));
    }
    const std::size_t suffixes_start = i_ + 1;
    while (at('_')) {
      ++i_;
      std::size_t index = 0;
      while (index < suffixes.size() && !text_.substr(i_).starts_with(suffixes[index])) ++index;
      if (index == suffixes.size()) return fail({suffix});
      i_ += suffixes[index].size();
      out_.put(static_cast<std::uint8_t>(
          index < before_release ? alpha_mark + index : cvs_mark + index - before_release));
      if (d = digits(); !d.empty()) put_number(suffix_number_mark, d);
      parts_.suffixes = text_.substr(suffixes_start, i_ - suffixes_start);
    }
    if (at('-')) {
      ++i_;
      if (!at('r')) return fail({token_r});
      ++i_;
      if (d = digits(); d.empty()) return fail({digit});
      parts_.revision = d;
      put_number(revision_mark, d);
      if (i_ < text_.size()) return fail({digit, end});
    }
    if (i_ < text_.size()) {
      if (!parts_.suffixes.empty()) return fail({digit, underscore, hyphen, end});
      if (lettered) return fail({underscore, hyphen, end});
      return fail({digit, dot, letter, underscore, hyphen, end});
    }
    out_.put(end_mark);
    return {};
  }

 private:
  bool at(char c) const noexcept { return i_ < text_.size() && text_[i_] == c; }
  std::string_view digits() noexcept {
    const std::size_t start = i_;
    while (i_ < text_.size() && kb::is_digit(text_[i_])) ++i_;
    return text_.substr(start, i_ - start);
  }
  void put_number(Mark mark, std::string_view d) {
    out_.put(mark);
    kb::put_number(out_, d);
  }
  std::unexpected<ParseError> fail(std::initializer_list<ExpectedPattern> expected) const {
    return std::unexpected(grammar::failure_at(text_, i_, expected));
  }

  std::string_view text_;
  Sink& out_;
  Parts parts_;
  std::size_t i_ = 0;
};

// Takes the key's bytes and keeps none: reading alone.
struct NoKey {
  static constexpr bool open() noexcept { return true; }
  void put(std::uint8_t) noexcept {}
  void put(std::string_view) noexcept {}
};

std::expected<Parts, ParseError> read(std::string_view text) {
  NoKey none;
  Reader<NoKey> reader(text, none);
  if (auto read = reader.read(); !read) return std::unexpected(std::move(read.error()));
  return reader.parts();
}

// apk's walk over two versions' tokens, written apart from the key from the
// parts: a token is its kind's rank (in the key's order of marks) and its
// value, the digits of a number or a count of zeros.
struct Token {
  int rank;
  std::string_view digits;
  std::size_t zeros = 0;
};
enum Rank {
  pre_suffix = 0,
  ended = 4,
  revision,
  suffix_number,
  post_suffix,
  lettered = 12,
  number,
  zeros,
  dotted
};

std::vector<Token> tokens(const Parts& p) {
  std::vector<Token> out;
  std::string_view n = p.numbers;
  for (std::size_t k = 0; !n.empty(); ++k) {
    const std::size_t dot = std::min(n.find('.'), n.size());
    const std::string_view d = n.substr(0, dot);
    const bool more = dot < n.size();
    n.remove_prefix(std::min(dot + 1, n.size()));
    const std::size_t z = std::min(d.find_first_not_of('0'), d.size());
    if (k == 0 || z == 0) {
      out.push_back({k == 0 ? number : dotted, d});
      continue;
    }
    out.push_back({zeros, {}, z});
    if (z < d.size() || more) out.push_back({number, d.substr(z)});
  }
  if (!p.letter.empty()) out.push_back({lettered, p.letter});
  for (std::string_view s = p.suffixes; !s.empty();) {
    const std::size_t cut = std::min(s.find('_'), s.size());
    std::string_view one = s.substr(0, cut);
    s.remove_prefix(std::min(cut + 1, s.size()));
    std::size_t i = 0;
    while (!one.starts_with(suffixes[i])) ++i;
    out.push_back(
        {static_cast<int>(i < before_release ? pre_suffix + i : post_suffix + i - before_release),
         {}});
    if (one.size() > suffixes[i].size())
      out.push_back({suffix_number, one.substr(suffixes[i].size())});
  }
  if (!p.revision.empty()) out.push_back({revision, p.revision});
  out.push_back({ended, {}});
  return out;
}

std::weak_ordering compare_parts(const Parts& a, const Parts& b) {
  const std::vector<Token> x = tokens(a), y = tokens(b);
  for (std::size_t i = 0;; ++i) {
    if (x[i].rank != y[i].rank) return x[i].rank <=> y[i].rank;
    if (x[i].rank == ended) return std::weak_ordering::equivalent;
    if (x[i].zeros != y[i].zeros) return y[i].zeros <=> x[i].zeros;
    if (x[i].rank == lettered) {
      if (auto c = x[i].digits <=> y[i].digits; c != 0) return c;
    } else if (auto c = kb::compare_numbers(x[i].digits, y[i].digits); c != 0) {
      return c;
    }
  }
}

std::size_t key_size_bound(std::size_t size, const Order&) noexcept { return 2 * size + 1; }

Keyed append_key(std::string& out, std::string_view text, const Order& order) {
  Read read;
  kb::append_key(out, key_size_bound(text.size(), order), [&](kb::Room& room) {
    char* const start = room.at();
    read = Reader<kb::Room>(text, room).read();
    if (!read) room = kb::Room(start);
  });
  if (!read) return std::unexpected(read.error());
  return KeyFacts{};
}

std::expected<std::vector<Field>, ParseError> fields(std::string_view text, const Order&) {
  std::string key;
  kb::WholeKey sink(key);
  Reader<kb::WholeKey> reader(text, sink);
  if (auto read = reader.read(); !read) return std::unexpected(read.error());
  const Parts& p = reader.parts();
  return std::vector<Field>{list_field("numbers", p.numbers, '.'),
                            p.letter.empty() ? Field{"letter", Field::Form::absent, {}, {}}
                                             : text_field("letter", p.letter),
                            list_field("suffixes", p.suffixes, '_'),
                            p.revision.empty() ? Field{"revision", Field::Form::absent, {}, {}}
                                               : number_field("revision", p.revision)};
}

constexpr std::array operators = {
    grammar::RangeOperator::less,    grammar::RangeOperator::less_equal,
    grammar::RangeOperator::equal,   grammar::RangeOperator::greater_equal,
    grammar::RangeOperator::greater, grammar::RangeOperator::not_equal,
    grammar::RangeOperator::tilde,
};

// "~P" holds where P's tokens are the version's first ones: the keys that
// begin with P's key without its end.
Read read_range(grammar::RangeText& in, const Order&, KeyRange& out) {
  auto add = [](grammar::RangeOperator op, std::string_view operand,
                std::vector<KeyBound>& to) -> Read {
    std::string key;
    kb::WholeKey sink(key);
    if (auto read = Reader<kb::WholeKey>(operand, sink).read(); !read)
      return std::unexpected(read.error());
    if (op != grammar::RangeOperator::tilde) {
      to.push_back(bound_at(plain_test(op), std::move(key), operand));
    } else {
      key.pop_back();
      add_prefix(to, key, {});
    }
    return {};
  };
  return comparator_bounds_range(in, operators, true, add, out);
}

}  // namespace

constinit const Row apk_row =
    row_of<read, compare_parts>(Scheme::apk, append_key, key_size_bound, fields, read_range);

}  // namespace tolva::scheme::detail
