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
  std::string_view local;    // as written after '+'
  std::size_t wildcard = 0;  // where ".*" starts, in an operand that allows it

  bool prerelease() const noexcept { return pre != final || dev; }
};

char lower(char c) noexcept { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
bool is_alnum(char c) noexcept { return is_digit(c) || (lower(c) >= 'a' && lower(c) <= 'z'); }
bool is_separator(char c) noexcept { return c == '.' || c == '-' || c == '_'; }

struct Label {
  std::string_view word;
  Phase phase;
};
// Longer words before the words they begin with.
constexpr std::array<Label, 8> pre_labels{{{"alpha", alpha},
                                           {"a", alpha},
                                           {"beta", beta},
                                           {"b", beta},
                                           {"preview", candidate},
                                           {"pre", candidate},
                                           {"rc", candidate},
                                           {"c", candidate}}};
constexpr std::array<Label, 3> post_labels{{{"post", final}, {"rev", final}, {"r", final}}};
constexpr std::array<Label, 1> dev_labels{{{"dev", final}}};

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
      v.wildcard = i_;
      return v;
    }
    if (auto phase = label(pre_labels)) {
      v.pre = *phase;
      v.pre_n = number();
    }
    if (at('-') && i_ + 1 < s_.size() && is_digit(s_[i_ + 1])) {
      ++i_;
      v.post = true;
      v.post_n = digits();
    } else if (label(post_labels)) {
      v.post = true;
      v.post_n = number();
    }
    if (label(dev_labels)) {
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
  // [separator] one of the words, in any case; else nothing taken.
  template <std::size_t N>
  std::optional<Phase> label(const std::array<Label, N>& labels) noexcept {
    const std::size_t from = i_ < s_.size() && is_separator(s_[i_]) ? i_ + 1 : i_;
    for (const Label& l : labels) {
      if (s_.size() - from < l.word.size()) continue;
      bool same = true;
      for (std::size_t k = 0; k < l.word.size(); ++k) same = same && lower(s_[from + k]) == l.word[k];
      if (same) {
        i_ = from + l.word.size();
        return l.phase;
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

// The release's numbers less the zeros that end it, which change nothing.
std::string_view significant_release(std::string_view release) noexcept {
  while (release.size() > 1) {
    const std::size_t dot = release.rfind('.');
    if (dot == std::string_view::npos) break;
    if (!key_bytes::significant_digits(release.substr(dot + 1)).empty()) break;
    release = release.substr(0, dot);
  }
  return release;
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
  std::string_view r = significant_release(v.release);
  if (key_bytes::significant_digits(r).empty()) r = {};
  while (!r.empty()) {
    const std::size_t dot = r.find('.');
    out.put(std::uint8_t{1});
    key_bytes::put_number(out, r.substr(0, dot));
    r.remove_prefix(dot == r.npos ? r.size() : dot + 1);
  }
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
  for (std::string_view l = v.local; !l.empty();) {
    std::size_t e = 0;
    bool number = true;
    for (; e < l.size() && !is_separator(l[e]); ++e) number = number && is_digit(l[e]);
    out.put(static_cast<std::uint8_t>(number ? 2 : 1));
    if (number) {
      key_bytes::put_number(out, l.substr(0, e));
    } else {
      for (std::size_t j = 0; j < e; ++j) {
        const char c = lower(l[j]);
        key_bytes::put_text(out, {&c, 1});
      }
      out.put(key_bytes::end);
    }
    l.remove_prefix(e == l.size() ? e : e + 1);
  }
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

std::size_t pypi_key_size_bound(std::size_t size, const Order&) noexcept {
  return 2 * size + 24;
}

// A number as packaging prints it.
void append_number(std::string& out, std::string_view digits) {
  digits = key_bytes::significant_digits(digits);
  out.append(digits.empty() ? "0" : digits);
}

std::expected<std::vector<Field>, ParseError> pypi_fields(std::string_view text, const Order&) {
  auto v = Reader(text).read(false);
  if (!v) return std::unexpected(std::move(v.error()));
  Field normal{"normal", Field::Form::text, {}, {}};
  Field epoch{"epoch", Field::Form::number, {}, {}};
  Field release{"release", Field::Form::list, {}, {}};
  Field pre{"pre", Field::Form::absent, {}, {}};
  Field post{"post", Field::Form::absent, {}, {}};
  Field dev{"dev", Field::Form::absent, {}, {}};
  Field local{"local", Field::Form::absent, {}, {}};
  append_number(epoch.value, v->epoch);
  if (epoch.value != "0") normal.value = epoch.value + '!';
  for (std::string_view r = v->release; !r.empty();) {
    const std::size_t dot = r.find('.');
    append_number(release.items.emplace_back(), r.substr(0, dot));
    normal.value.append(release.items.back()).append(dot == r.npos ? "" : ".");
    r.remove_prefix(dot == r.npos ? r.size() : dot + 1);
  }
  if (v->pre != final && v->pre != dev_only) {
    pre.form = Field::Form::text;
    pre.value = v->pre == alpha ? "a" : v->pre == beta ? "b" : "rc";
    append_number(pre.value, v->pre_n);
    normal.value += pre.value;
  }
  if (v->post) {
    post.form = Field::Form::number;
    append_number(post.value, v->post_n);
    normal.value.append(".post").append(post.value);
  }
  if (v->dev) {
    dev.form = Field::Form::number;
    append_number(dev.value, v->dev_n);
    normal.value.append(".dev").append(dev.value);
  }
  if (!v->local.empty()) {
    local.form = Field::Form::text;
    for (std::string_view l = v->local; !l.empty();) {
      std::size_t e = 0;
      bool number = true;
      for (; e < l.size() && !is_separator(l[e]); ++e) number = number && is_digit(l[e]);
      if (!local.value.empty()) local.value += '.';
      if (number) append_number(local.value, l.substr(0, e));
      for (std::size_t j = 0; !number && j < e; ++j) local.value += lower(l[j]);
      l.remove_prefix(e == l.size() ? e : e + 1);
    }
    normal.value.append("+").append(local.value);
  }
  return std::vector<Field>{std::move(normal), std::move(epoch), std::move(release), std::move(pre),
                            std::move(post), std::move(dev), std::move(local)};
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
// last number one higher, cut the same way.
std::pair<std::string, std::string> prefix_bounds(std::string_view epoch, std::string_view prefix) {
  const std::size_t dot = prefix.rfind('.');
  const std::string next = std::string(prefix.substr(0, dot == prefix.npos ? 0 : dot + 1)) +
                           plus_one(prefix.substr(dot == prefix.npos ? 0 : dot + 1));
  MadeKey low = made_key(Parts{.epoch = epoch, .release = prefix});
  MadeKey high = made_key(Parts{.epoch = epoch, .release = next});
  low.key.resize(low.marks.release_end);
  high.key.resize(high.marks.release_end);
  return {std::move(low.key), std::move(high.key)};
}

constexpr std::array<Op, 7> operators{Op::tilde_equal, Op::equal_equal, Op::not_equal,
                                      Op::less_equal,  Op::greater_equal, Op::less, Op::greater};

// One specifier's bounds. A key cut after its local mark and followed by 3
// lies above every local version of that public version; cut after the
// post-release mark and followed by 2, above every post-release of it.
void add_bounds(std::vector<KeyBound>& out, Op op, const Parts& v) {
  const MadeKey k = made_key(v);
  const std::string above_locals = k.key.substr(0, k.marks.local) + '\x03';
  const std::size_t first = out.size();
  if (v.wildcard != 0 || op == Op::tilde_equal) {
    std::string_view prefix = v.release;
    if (op == Op::tilde_equal) {
      prefix = prefix.substr(0, prefix.rfind('.'));
      out.push_back({RangeOp::greater_equal, k.key, {}, {}});
    }
    auto [low, high] = prefix_bounds(v.epoch, prefix);
    if (op == Op::not_equal) {
      out.push_back({RangeOp::outside, std::move(low), std::move(high), {}});
    } else {
      out.push_back({RangeOp::greater_equal, std::move(low), {}, {}});
      out.push_back({RangeOp::less, std::move(high), {}, {}});
    }
  } else if (op == Op::equal_equal || op == Op::not_equal) {
    // Without a local version of its own, the operand stands for every
    // local version of it.
    if (!v.local.empty()) {
      out.push_back({op == Op::equal_equal ? RangeOp::equal : RangeOp::not_equal, k.key, {}, {}});
    } else if (op == Op::equal_equal) {
      out.push_back({RangeOp::greater_equal, k.key, {}, {}});
      out.push_back({RangeOp::less, above_locals, {}, {}});
    } else {
      out.push_back({RangeOp::outside, k.key, above_locals, {}});
    }
  } else if (op == Op::greater_equal) {
    out.push_back({RangeOp::greater_equal, k.key, {}, {}});
  } else if (op == Op::less_equal) {
    out.push_back({RangeOp::less, above_locals, {}, {}});
  } else if (op == Op::less) {
    // Below a final release: below its pre-releases too.
    Parts first_dev = v;
    if (!v.prerelease()) {
      first_dev.dev = true;
      first_dev.dev_n = {};
      if (!v.post) first_dev.pre = dev_only;
    }
    out.push_back({RangeOp::less, made_key(first_dev).key, {}, {}});
  } else if (!v.post && !v.dev) {
    // Above a version that is not a post- or dev-release: above its
    // post-releases too.
    out.push_back({RangeOp::greater_equal, k.key.substr(0, k.marks.post) + '\x02', {}, {}});
  } else {
    out.push_back({RangeOp::greater_equal, above_locals, {}, {}});
  }
  // An operand written as a pre-release lets every pre-release in.
  if (v.prerelease() && op != Op::not_equal && v.wildcard == 0) out[first].admits = 0;
}

Read read_pypi_range(grammar::RangeText& in, const Order&, KeyRange& out) {
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
    add_bounds(bounds, **op, *v);
    in.skip_blanks();
    if (in.at_end()) break;
    if (!in.at(',')) return in.fail(in.pos(), {comma, P::EndOfInput});
    in.skip_joiner(true);
  }
  return {};
}

constexpr std::array<std::string_view, 1> names{"pypi"};

}  // namespace

const Row pypi_row{Scheme::pypi,         names,       append_pypi_key,
                   pypi_key_size_bound, pypi_fields, read_pypi_range};

}  // namespace tolva::scheme::detail
