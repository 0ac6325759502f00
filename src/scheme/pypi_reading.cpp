// Reading a Python package version in any spelling packaging accepts, and
// its normal form.
#include <optional>

#include "pypi.hpp"

namespace tolva::scheme::detail::pypi {
namespace {

using P = grammar::ExpectedPattern;
using key_bytes::is_digit;

constexpr std::string_view shown_more = "'.', a release label, '+' or end of input";
constexpr std::string_view shown_local = "letter or digit";
constexpr P more{shown_more};
constexpr P local_char{shown_local};

bool is_alnum(char c) noexcept { return is_digit(c) || (lower(c) >= 'a' && lower(c) <= 'z'); }

// Longer words before the words they begin with; pre-release words name
// the phase 1 + index / 2 (at most candidate).
constexpr std::string_view pre_words[] = {"alpha", "a", "beta", "b", "preview", "pre", "rc", "c"};
constexpr std::string_view post_words[] = {"post", "rev", "r"};
constexpr std::string_view dev_words[] = {"dev"};

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

// A number as packaging prints it.
std::string number_text(std::string_view digits) {
  digits = key_bytes::significant_digits(digits);
  return std::string(digits.empty() ? "0" : digits);
}

}  // namespace

std::expected<Parts, ParseError> read(std::string_view text, bool wildcard) {
  return Reader(text).read(wildcard);
}

std::expected<std::vector<Field>, ParseError> fields(std::string_view text, const Order&) {
  auto v = read(text, false);
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

}  // namespace tolva::scheme::detail::pypi
