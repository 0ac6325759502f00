// Python package versions: [N!]N(.N)*[{a|b|rc}N][.postN][.devN][+local],
// read in every spelling Python's packaging tools accept (case, '-', '_' and
// '.' separators, long pre-release names, "1.0-1" for a post-release, a 'v'),
// and ordered as those tools order them.
#include <array>
#include <optional>

#include "row.hpp"

namespace tolva::scheme::detail {
namespace {

using P = grammar::ExpectedPattern;
using key_bytes::is_digit;
using Op = grammar::RangeOperator;

constexpr std::string_view shown_more = "'.', a release label, '+' or end of input";
constexpr std::string_view shown_local = "letter or digit";
constexpr std::string_view shown_comma = "','";
constexpr std::string_view shown_two_numbers = "'.' and a number";
constexpr std::string_view shown_no_local = "an operator that allows a local version";
constexpr P more{shown_more};
constexpr P local_char{shown_local};
constexpr P comma{shown_comma};
constexpr P two_numbers{shown_two_numbers};
constexpr P no_local{shown_no_local};

// The pre-release phases in key order: a dev-release of the release itself,
// alpha, beta, candidate, then the release.
enum Phase : std::uint8_t { dev_only, alpha, beta, candidate, final };

struct Parts {
  std::string_view epoch;    // digits; empty: 0
  std::string_view release;  // numbers and dots as written
  Phase pre = final;
  std::string_view pre_n, post_n, dev_n;  // digits; empty: 0
  bool post = false, dev = false;
  std::string_view local;  // as written after '+'
  bool wildcard = false;   // ".*" ended an operand that allows it

  bool prerelease() const noexcept { return pre != final || dev; }
};

char lower(char c) noexcept { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
bool is_alnum(char c) noexcept { return is_digit(c) || (lower(c) >= 'a' && lower(c) <= 'z'); }
bool is_separator(char c) noexcept { return c == '.' || c == '-' || c == '_'; }

// Longer words before the words they begin with; pre-release words name
// the phase 1 + index / 2 (at most candidate).
constexpr std::string_view pre_words[] = {"alpha", "a", "beta", "b", "preview", "pre", "rc", "c"};
constexpr std::string_view post_words[] = {"post", "rev", "r"};
constexpr std::string_view dev_words[] = {"dev"};

// Calls `each(segment)` for each run between separators.
template <class Each>
void for_each_segment(std::string_view s, Each each) {
  for (std::size_t at = 0, end = 0; at <= s.size() && !s.empty(); at = end + 1) {
    end = at;
    while (end < s.size() && !is_separator(s[end])) ++end;
    each(s.substr(at, end - at));
  }
}

// Reads a text in one pass; each optional part is [separator] label
// [separator] [number], tried where the one before it ended.
class Reader {
 public:
  explicit Reader(std::string_view text) noexcept : s_(text) {}

  std::expected<Parts, ParseError> read(bool wildcard) {
    Parts v;
    if (at('v') || at('V')) ++i_;
    std::size_t start = i_;
    if (digits().empty()) return fail(P::Digit);
    if (at('!')) {
      v.epoch = s_.substr(start, i_ - start);
      start = ++i_;
      if (digits().empty()) return fail(P::Digit);
    }
    while (at('.') && i_ + 1 < s_.size() && is_digit(s_[i_ + 1])) {
      ++i_;
      digits();
    }
    v.release = s_.substr(start, i_ - start);
    if (wildcard && s_.substr(i_) == ".*") {
      v.wildcard = true;
      return v;
    }
    if (auto i = label(pre_words)) {
      v.pre = static_cast<Phase>(1 + std::min<std::size_t>(*i / 2, 2));
      v.pre_n = number();
    }
    if (at('-') && i_ + 1 < s_.size() && is_digit(s_[i_ + 1])) {
      ++i_;
      v.post = true;
      v.post_n = digits();
    } else if (label(post_words)) {
      v.post = true;
      v.post_n = number();
    }
    if (label(dev_words)) {
      v.dev = true;
      v.dev_n = number();
      if (v.pre == final && !v.post) v.pre = dev_only;
    }
    if (at('+')) {
      v.local = s_.substr(++i_);
      for (bool segment_start = true; i_ < s_.size(); ++i_) {
        if (!is_alnum(s_[i_]) && (segment_start || !is_separator(s_[i_]))) return fail(local_char);
        segment_start = is_separator(s_[i_]);
      }
      if (v.local.empty() || is_separator(v.local.back())) return fail(local_char);
    }
    if (i_ != s_.size()) return fail(more);
    return v;
  }

 private:
  bool at(char c) const noexcept { return i_ < s_.size() && s_[i_] == c; }
  std::string_view digits() noexcept {
    const std::size_t start = i_;
    while (i_ < s_.size() && is_digit(s_[i_])) ++i_;
    return s_.substr(start, i_ - start);
  }
  // [separator] one of the words, in any case, and its index; else nothing
  // taken.
  template <std::size_t N>
  std::optional<std::size_t> label(const std::string_view (&words)[N]) noexcept {
    const std::size_t from = i_ < s_.size() && is_separator(s_[i_]) ? i_ + 1 : i_;
    for (std::size_t w = 0; w < N; ++w) {
      const std::string_view word = words[w];
      std::size_t k = 0;
      while (k < word.size() && from + k < s_.size() && lower(s_[from + k]) == word[k]) ++k;
      if (k == word.size()) {
        i_ = from + k;
        return w;
      }
    }
    return std::nullopt;
  }
  // [separator] [digits]: a separator alone is taken too.
  std::string_view number() noexcept {
    if (i_ < s_.size() && is_separator(s_[i_])) ++i_;
    return digits();
  }
  std::unexpected<ParseError> fail(P expected) const {
    return std::unexpected(grammar::failure_at(s_, i_, {expected}));
  }

  std::string_view s_;
  std::size_t i_ = 0;
};

// The release's numbers less the zeros that end it, which change nothing
// (all of them for a release of zeros).
std::string_view significant_release(std::string_view r) noexcept {
  while (!r.empty() && key_bytes::significant_digits(r.substr(r.rfind('.') + 1)).empty()) {
    r = r.substr(0, r.find('.') == r.npos ? 0 : r.rfind('.'));
  }
  return r;
}

bool all_digits(std::string_view s) noexcept {
  return s.find_first_not_of("0123456789") == std::string_view::npos;
}

// Offsets into a key, for the bounds a range makes of an operand.
struct KeyMarks {
  std::size_t release_end = 0;  // after the last release number
  std::size_t post = 0;         // the post-release mark
  std::size_t local = 0;        // the first local byte
};

// The key: epoch; each significant release number after a 1, then a 0; the
// phase, and its number for a pre-release; 0, or 1 and the post number; 0
// and the dev number, or 1 when there is none; the local segments, a word
// as 1 and its lowered text, a number as 2 and the number (numbers above
// words, as packaging orders them), then a 0. `mark(m)` is told where each
// of KeyMarks' parts begins.
template <class Sink, class Mark>
void put_key(Sink& out, const Parts& v, Mark mark) {
  key_bytes::put_number(out, v.epoch);
  for_each_segment(significant_release(v.release), [&](std::string_view n) {
    out.put(std::uint8_t{1});
    key_bytes::put_number(out, n);
  });
  mark(&KeyMarks::release_end);
  out.put(std::uint8_t{0});
  out.put(static_cast<std::uint8_t>(v.pre));
  if (v.pre != final && v.pre != dev_only) key_bytes::put_number(out, v.pre_n);
  mark(&KeyMarks::post);
  out.put(static_cast<std::uint8_t>(v.post ? 1 : 0));
  if (v.post) key_bytes::put_number(out, v.post_n);
  out.put(static_cast<std::uint8_t>(v.dev ? 0 : 1));
  if (v.dev) key_bytes::put_number(out, v.dev_n);
  mark(&KeyMarks::local);
  for_each_segment(v.local, [&](std::string_view seg) {
    out.put(static_cast<std::uint8_t>(all_digits(seg) ? 2 : 1));
    if (all_digits(seg)) return key_bytes::put_number(out, seg);
    for (const char c : seg) {
      const char l = lower(c);
      key_bytes::put_text(out, {&l, 1});
    }
    out.put(key_bytes::end);
  });
  out.put(std::uint8_t{0});
}

// A key a range needs, and where its parts begin.
struct MadeKey {
  std::string key;
  KeyMarks marks;
};
MadeKey made_key(const Parts& v) {
  MadeKey k;
  key_bytes::WholeKey out(k.key);
  put_key(out, v, [&](std::size_t KeyMarks::*m) { k.marks.*m = k.key.size(); });
  return k;
}

Keyed append_pypi_key(std::string& out, std::string_view text, const Order&) {
  auto v = Reader(text).read(false);
  if (!v) return std::unexpected(std::move(v.error()));
  key_bytes::append_key(out, 2 * text.size() + 24,
                        [&](key_bytes::Room& room) { put_key(room, *v, [](auto) {}); });
  return KeyFacts{v->prerelease(), 0};
}

std::size_t pypi_key_size_bound(std::size_t size, const Order&) noexcept { return 2 * size + 24; }

// A number as packaging prints it.
std::string number_text(std::string_view digits) {
  digits = key_bytes::significant_digits(digits);
  return std::string(digits.empty() ? "0" : digits);
}

std::expected<std::vector<Field>, ParseError> pypi_fields(std::string_view text, const Order&) {
  auto v = Reader(text).read(false);
  if (!v) return std::unexpected(std::move(v.error()));
  std::vector<Field> f{{"normal", Field::Form::text, {}, {}},
                       {"epoch", Field::Form::number, number_text(v->epoch), {}},
                       {"release", Field::Form::list, {}, {}},
                       {"pre", Field::Form::absent, {}, {}},
                       {"post", Field::Form::absent, {}, {}},
                       {"dev", Field::Form::absent, {}, {}},
                       {"local", Field::Form::absent, {}, {}}};
  std::string& normal = f[0].value;
  if (f[1].value != "0") normal = f[1].value + '!';
  for_each_segment(v->release, [&](std::string_view n) {
    f[2].items.push_back(number_text(n));
    normal.append(normal.empty() || normal.back() == '!' ? "" : ".").append(f[2].items.back());
  });
  auto set = [&](Field& field, Field::Form form, std::string value, std::string_view shown) {
    field.form = form;
    field.value = std::move(value);
    normal.append(shown).append(field.value);
  };
  if (v->pre != final && v->pre != dev_only) {
    const std::string_view word = v->pre == alpha ? "a" : v->pre == beta ? "b" : "rc";
    set(f[3], Field::Form::text, std::string(word) + number_text(v->pre_n), "");
  }
  if (v->post) set(f[4], Field::Form::number, number_text(v->post_n), ".post");
  if (v->dev) set(f[5], Field::Form::number, number_text(v->dev_n), ".dev");
  if (!v->local.empty()) {
    std::string local;
    for_each_segment(v->local, [&](std::string_view seg) {
      if (!local.empty()) local += '.';
      if (all_digits(seg)) local += number_text(seg);
      for (const char c : all_digits(seg) ? std::string_view{} : seg) local += lower(c);
    });
    set(f[6], Field::Form::text, std::move(local), "+");
  }
  return f;
}

std::string plus_one(std::string_view digits) {
  std::string out(key_bytes::significant_digits(digits));
  std::size_t i = out.size();
  while (i > 0 && out[i - 1] == '9') out[--i] = '0';
  if (i == 0) return '1' + out;
  ++out[i - 1];
  return out;
}

// The versions whose release begins with `prefix` (of the same epoch): from
// the prefix's key cut after its numbers to the key of the prefix with its
// last number one higher, cut the same way; and the least version at each
// cut, its release's first dev release.
struct PrefixBounds {
  std::string low, high, low_text, high_text;
};
PrefixBounds prefix_bounds(std::string_view epoch, std::string_view prefix) {
  const std::size_t dot = prefix.rfind('.');
  const std::string next = std::string(prefix.substr(0, dot == prefix.npos ? 0 : dot + 1)) +
                           plus_one(prefix.substr(dot == prefix.npos ? 0 : dot + 1));
  Parts v;
  v.epoch = epoch;
  v.release = prefix;
  MadeKey low = made_key(v);
  v.release = next;
  MadeKey high = made_key(v);
  low.key.resize(low.marks.release_end);
  high.key.resize(high.marks.release_end);
  const std::string in_epoch = epoch.empty() ? "" : std::string(epoch) + '!';
  return {std::move(low.key), std::move(high.key), in_epoch + std::string(prefix) + ".dev0",
          in_epoch + next + ".dev0"};
}

constexpr std::array<Op, 7> operators{Op::tilde_equal, Op::equal_equal,   Op::not_equal,
                                      Op::less_equal,  Op::greater_equal, Op::less,
                                      Op::greater};

// One specifier's bounds. A key cut after its local mark and followed by 3
// lies above every local version of that public version; cut after the
// post-release mark and followed by 2, above every post-release of it.
void add_bounds(std::vector<KeyBound>& out, Op op, const Parts& v, std::string_view text) {
  const MadeKey k = made_key(v);
  const std::string above_locals = k.key.substr(0, k.marks.local) + '\x03';
  const std::size_t first = out.size();
  // The least version above every local version of the operand: its first
  // post-release's first dev release, where it is neither of those itself.
  const std::string past_locals = v.post || v.dev ? "" : std::string(text) + ".post0.dev0";
  // `at` names the version at the key, or the least above it (KeyBound::text).
  auto push = [&](RangeOp o, std::string key, std::string_view at = {}, std::string upper = {},
                  std::string_view upper_at = {}) {
    out.push_back(
        {o, std::move(key), std::move(upper), {}, std::string(at), std::string(upper_at)});
  };
  if (v.wildcard || op == Op::tilde_equal) {
    std::string_view prefix = v.release;
    if (op == Op::tilde_equal) prefix = prefix.substr(0, prefix.rfind('.'));
    if (op == Op::tilde_equal) push(RangeOp::greater_equal, k.key, text);
    auto p = prefix_bounds(v.epoch, prefix);
    if (op == Op::not_equal)
      return push(RangeOp::outside, std::move(p.low), p.low_text, std::move(p.high), p.high_text);
    push(RangeOp::greater_equal, std::move(p.low), p.low_text);
    push(RangeOp::less, std::move(p.high), p.high_text);
  } else if (!v.local.empty()) {
    push(op == Op::equal_equal ? RangeOp::equal : RangeOp::not_equal, k.key, text);
  } else if (op == Op::equal_equal || op == Op::greater_equal) {
    // Without a local version of its own, the operand stands for every
    // local version of it.
    push(RangeOp::greater_equal, k.key, text);
    if (op == Op::equal_equal) push(RangeOp::less, above_locals, past_locals);
  } else if (op == Op::not_equal) {
    return push(RangeOp::outside, k.key, text, above_locals, past_locals);
  } else if (op == Op::less_equal) {
    push(RangeOp::less, above_locals, past_locals);
  } else if (op == Op::less) {
    // Below a final release: below its pre-releases too.
    Parts first_dev = v;
    first_dev.dev = true;
    first_dev.dev_n = {};
    if (!v.post) first_dev.pre = v.pre == final ? dev_only : v.pre;
    if (v.prerelease()) {
      push(RangeOp::less, k.key, text);
    } else {
      push(RangeOp::less, made_key(first_dev).key, std::string(text) + ".dev0");
    }
  } else {
    // Above a version that is not a post- or dev-release: above its
    // post-releases too.
    const bool plain = !v.post && !v.dev;
    push(RangeOp::greater_equal, plain ? k.key.substr(0, k.marks.post) + '\x02' : above_locals);
  }
  // An operand written as a pre-release lets every pre-release in.
  if (v.prerelease() && !v.wildcard && op != Op::not_equal) out[first].admits = 0;
}

Read read_pypi_range(grammar::RangeText& in, const Order&, KeyRange& out) {
  out.prereleases_when_alone = true;
  auto& bounds = out.alternatives.emplace_back();
  in.skip_blanks();
  while (!in.at_end()) {
    auto op = in.take_operator(operators, P::RangeOperand);
    if (!op) return std::unexpected(std::move(op.error()));
    if (!*op) return in.fail(in.pos(), {P::Comparator});
    const std::size_t start = in.pos();
    const std::string_view operand = in.take_operand(true);
    const bool equality = **op == Op::equal_equal || **op == Op::not_equal;
    auto v = Reader(operand).read(equality);
    if (!v) return in.fail_in_operand(std::move(v.error()), start);
    if (!v->local.empty() && !equality) {
      return in.fail(start + static_cast<std::size_t>(v->local.data() - operand.data()) - 1,
                     {no_local});
    }
    if (**op == Op::tilde_equal && v->release.find('.') == std::string_view::npos) {
      return in.fail(start + static_cast<std::size_t>(v->release.end() - operand.begin()),
                     {two_numbers});
    }
    add_bounds(bounds, **op, *v, operand);
    in.skip_blanks();
    if (in.at_end()) break;
    if (!in.at(',')) return in.fail(in.pos(), {comma, P::EndOfInput});
    in.skip_joiner(true);
  }
  return {};
}

Read check_pypi(std::string_view text, const Order&) {
  if (auto v = Reader(text).read(false); !v) return std::unexpected(std::move(v.error()));
  return {};
}

// By keys: the ecosystem's own tool, through the tables the tests read, is
// the comparison the keys are held to.
std::expected<std::weak_ordering, ParseError> compare_pypi(std::string_view a, std::string_view b,
                                                           const Order& order) {
  std::string x, y;
  if (auto k = append_pypi_key(x, a, order); !k) return std::unexpected(std::move(k.error()));
  if (auto k = append_pypi_key(y, b, order); !k) return std::unexpected(std::move(k.error()));
  return x.compare(y) <=> 0;
}

constexpr std::array<std::string_view, 1> names{"pypi"};

}  // namespace

const Row pypi_row{Scheme::pypi, names,           append_pypi_key, pypi_key_size_bound,
                   pypi_fields,  read_pypi_range, check_pypi,      compare_pypi};

}  // namespace tolva::scheme::detail
