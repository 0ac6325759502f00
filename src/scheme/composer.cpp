// Composer's versions (PHP's Packagist): one to four numbers, or a date; a
// stability (alpha, beta, RC, patch, each with numbers) and "-dev"; and
// branches, "dev-NAME". They order as Composer orders their normal forms
// ("1.2.0.0-beta1-dev"): with PHP's version_compare, a branch below every
// numbered version. The constraints are read in composer_range.cpp.
#include "composer.hpp"

#include <array>

namespace tolva::scheme::detail::composer {
namespace {

using P = grammar::ExpectedPattern;
using key_bytes::is_digit;

constexpr std::string_view shown_start = "digit, 'v' or 'dev-'";
constexpr std::string_view shown_more =
    "'.', a stability (alpha, beta, RC, patch, stable), 'dev' or end of input";

constexpr std::string_view blanks{" \t\n\r\v\0", 6};
constexpr std::string_view nines = "9999999";
// PHP reads each number as a C long: larger ones count as this.
constexpr std::string_view largest = "9223372036854775807";

bool is_default_branch(std::string_view name) noexcept {
  return name == "master" || name == "trunk" || name == "default";
}

// A date: four digits, one to six pairs, and a last group of one to three
// digits, each group after a '.', ':' or '-' or none. Which length the
// last group takes decides how the runs of digits split into pairs.
bool date_shape(std::string_view d) noexcept {
  for (std::size_t last = 0; last <= 3; ++last) {
    std::size_t pairs = 0;
    bool fits = true;
    for (std::size_t at = 0; fits && at < d.size();) {
      const std::size_t sep = std::min(d.find_first_of(".:-", at), d.size());
      const std::size_t taken = (at == 0 ? 4 : 0) + (sep == d.size() ? last : 0);
      fits = sep > at && sep - at >= taken && (sep - at - taken) % 2 == 0;
      pairs += fits ? (sep - at - taken) / 2 : 0;
      at = sep + 1;
    }
    if (fits && pairs >= 1 && pairs <= 6) return true;
  }
  return false;
}

// A numbered branch's numbers: one to four, each digits or a wildcard, the
// first digits.
bool wildcard_shape(std::string_view s) noexcept {
  for (std::size_t i = 0, count = 0;; ++count) {
    const std::size_t start = i;
    while (i < s.size() && is_digit(s[i])) ++i;
    if (i == start && count > 0 && i < s.size() && (s[i] == 'x' || s[i] == 'X' || s[i] == '*')) ++i;
    if (i == start) return false;
    if (i == s.size()) return true;
    if (count == 3 || s[i++] != '.') return false;
  }
}

Parts with(Parts v, const Modifier& m, std::string_view release) {
  v.release = release;
  v.stability = m.stability;
  v.stability_numbers = m.numbers;
  v.dev = m.dev && !(m.word && m.stability == Stability::stable);  // "-stable-dev" is stable
  return v;
}

// Calls `each` with the digits of every number of `s` (a wildcard's as
// 9999999) in turn; how many there were.
template <class Each>
std::size_t each_number(std::string_view s, Each each) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t start = i;
    while (i < s.size() && is_digit(s[i])) ++i;
    if (i == start && std::string_view(".:-").find(s[i++]) != std::string_view::npos) continue;
    each(is_digit(s[start]) ? s.substr(start, i - start) : nines);
    ++count;
  }
  return count;
}

// The release's numbers, padded to four.
template <class Each>
void numbers(const Parts& v, Each each) {
  for (std::size_t n = each_number(v.release, each); n < 4 && (v.padded || v.wildcards); ++n)
    each(v.wildcards ? nines : "0");
}

constexpr std::array<std::string_view, 6> words{"dev", "alpha", "beta", "RC", "", "patch"};

// Key marks: a version's numbers and words in turn, then `end`. A number
// sorts above the end (1.0 < 1.0.1), and so does patch, which sorts above
// numbers too; dev, alpha, beta and RC sort below the end.
enum : std::uint8_t { branch_mark, dev_mark, alpha_mark, beta_mark, rc_mark, end, number, patch };

// A number's value as PHP reads it.
std::string_view value(std::string_view digits) noexcept {
  const std::string_view n = key_bytes::significant_digits(digits);
  return key_bytes::compare_numbers(n, largest) > 0 ? largest : n;
}

template <class Sink>
void put_value(Sink& out, std::string_view digits) {
  out.put(number);
  key_bytes::put_number(out, value(digits));
}

template <class Sink>
void put_key(Sink& out, const Parts& v) {
  if (v.branch && !v.default_branch) {
    out.put(branch_mark);
    key_bytes::put_text(out, v.name);
    out.put(key_bytes::end);
    return;
  }
  numbers(v, [&](std::string_view digits) { put_value(out, digits); });
  if (v.stability != Stability::stable) {
    out.put(v.stability == Stability::patch
                ? patch
                : static_cast<std::uint8_t>(dev_mark + static_cast<unsigned>(v.stability)));
    each_number(v.stability_numbers, [&](std::string_view digits) { put_value(out, digits); });
  }
  if (v.dev) out.put(dev_mark);
  out.put(end);
}

// The most bytes a key takes: at most two for each byte of the text, and
// 9999999's nine for each of the (at most three) wildcards and missing
// numbers of a numbered branch.
std::size_t key_size_bound(std::size_t size, const Order&) noexcept { return 2 * size + 24; }

Keyed append_composer_key(std::string& out, std::string_view text, const Order&) {
  auto v = read(text);
  if (!v) return std::unexpected(std::move(v.error()));
  key_bytes::append_key(out, key_size_bound(text.size(), {}),
                        [&](key_bytes::Room& room) { put_key(room, *v); });
  return KeyFacts{};
}

// PHP's version_compare over two normal forms: their runs of digits and of
// letters in turn, numbers by value, words by rank (dev < alpha < beta < RC
// < patch), a number ranking between RC and patch; past the end of one, a
// number of the other is more and a word is as it ranks against a number.
int rank(std::string_view run) noexcept {
  if (is_digit(run[0])) return 4;
  for (std::size_t i = 0; i < words.size(); ++i)
    if (!words[i].empty() && run == words[i]) return static_cast<int>(i);
  return -1;
}

std::string_view next_run(std::string_view s, std::size_t& i) noexcept {
  while (i < s.size() && (s[i] == '.' || s[i] == '-')) ++i;
  const std::size_t start = i;
  if (i < s.size()) {
    const bool digits = is_digit(s[i]);
    while (i < s.size() && s[i] != '.' && s[i] != '-' && is_digit(s[i]) == digits) ++i;
  }
  return s.substr(start, i - start);
}

std::weak_ordering version_compare(std::string_view a, std::string_view b) noexcept {
  for (std::size_t i = 0, j = 0;;) {
    const std::string_view x = next_run(a, i), y = next_run(b, j);
    if (x.empty() && y.empty()) return std::weak_ordering::equivalent;
    if (x.empty()) return is_digit(y[0]) ? std::weak_ordering::less : 4 <=> rank(y);
    if (y.empty()) return is_digit(x[0]) ? std::weak_ordering::greater : rank(x) <=> 4;
    if (is_digit(x[0]) && is_digit(y[0])) {
      if (auto c = key_bytes::compare_numbers(value(x), value(y)); c != 0) return c;
    } else if (auto c = rank(x) <=> rank(y); c != 0) {
      return c;
    }
  }
}

std::weak_ordering compare(const Parts& a, const Parts& b) {
  const bool x = a.branch && !a.default_branch, y = b.branch && !b.default_branch;
  if (x || y) return x && y ? a.name.compare(b.name) <=> 0 : y <=> x;
  return version_compare(a.default_branch ? "9999999-dev" : normalized(a),
                         b.default_branch ? "9999999-dev" : normalized(b));
}

std::expected<std::vector<Field>, ParseError> fields(std::string_view text, const Order&) {
  auto v = read(text);
  if (!v) return std::unexpected(std::move(v.error()));
  const std::string normal = normalized(*v);
  const bool named = v->branch && !v->default_branch;
  const std::string_view numbered = std::string_view(normal).substr(0, normal.find('-'));
  // The stability minimum-stability weighs: a patch is stable, a dev
  // release or branch is dev.
  const Stability s = v->dev || named                    ? Stability::dev
                      : v->stability == Stability::patch ? Stability::stable
                                                         : v->stability;
  return std::vector<Field>{
      text_field("normalized", normal),
      named ? text_field("branch", v->name) : Field{"branch", Field::Form::absent, {}, {}},
      list_field("release", named ? std::string_view{} : numbered, '.'),
      text_field("stability",
                 s == Stability::stable ? "stable" : words[static_cast<std::size_t>(s)])};
}

constexpr std::array<std::string_view, 1> names{"composer"};

}  // namespace

std::optional<Modifier> modifier(std::string_view r) noexcept {
  using enum Stability;
  constexpr std::array<std::string_view, 9> spellings{"stable", "beta",  "b",  "rc", "alpha",
                                                      "a",      "patch", "pl", "p"};
  constexpr std::array<Stability, 9> spelled{stable, beta,  beta,  rc,   alpha,
                                             alpha,  patch, patch, patch};
  auto separator = [&](std::size_t at, std::string_view seps) {
    return at < r.size() && seps.find(r[at]) != std::string_view::npos ? at + 1 : at;
  };
  Modifier m;
  if (r.empty()) return m;  // most versions have none
  std::size_t i = separator(0, "._-");
  for (std::size_t k = 0; k < spellings.size(); ++k) {
    if (!starts_without_case(r.substr(i), spellings[k])) continue;
    m.word = true;
    m.stability = spelled[k];
    const std::size_t start = i += spellings[k].size();
    for (std::size_t j = separator(i, ".-"); j < r.size() && is_digit(r[j]); j = separator(i, ".-"))
      for (i = j; i < r.size() && is_digit(r[i]);) ++i;
    m.numbers = r.substr(start, i - start);
    break;
  }
  if (const std::size_t j = separator(i, ".-"); equals_without_case(r.substr(j), "dev")) {
    m.dev = true;
    i = r.size();
  }
  if (i != r.size()) return std::nullopt;
  return m;
}

std::expected<Parts, ParseError> read(std::string_view text) {
  const std::size_t first = std::min(text.find_first_not_of(blanks), text.size());
  std::string_view s = text.substr(first, text.find_last_not_of(blanks) + 1 - first);
  auto fail = [&](std::size_t at, P p) {
    return std::unexpected(grammar::failure_at(text, first + at, {p}));
  };
  if (const std::size_t at = s.rfind('@'); at != std::string_view::npos) {
    const std::string_view flag = s.substr(at + 1);
    for (std::string_view word : {"stable", "rc", "beta", "alpha", "dev"})
      if (equals_without_case(flag, word)) s = s.substr(0, at);
  }
  Parts v;
  if (is_default_branch(s) || starts_without_case(s, "dev-")) {
    v.branch = true;
    v.name = is_default_branch(s) ? s : s.substr(4);
    v.default_branch = is_default_branch(v.name);
    if (v.default_branch) v.release = nines, v.dev = true;
    return v;
  }
  // Build metadata, where neither part holds a blank (nor the first a comma).
  if (const std::size_t plus = s.find('+'); plus != std::string_view::npos && plus > 0 &&
                                            plus + 1 < s.size() &&
                                            s.find_first_of(blanks) == std::string_view::npos &&
                                            s.substr(0, plus).find(',') == std::string_view::npos)
    s = s.substr(0, plus);
  const std::size_t i = !s.empty() && lower(s[0]) == 'v' ? 1 : 0;
  // One to four numbers, the first of at most five digits.
  std::size_t end = i;
  while (end < s.size() && is_digit(s[end])) ++end;
  if (end == i) return fail(i, shown_start);
  if (end - i <= 5) {
    for (int dots = 0; dots < 3 && end + 1 < s.size() && s[end] == '.' && is_digit(s[end + 1]);
         ++dots) {
      for (++end; end < s.size() && is_digit(s[end]);) ++end;
    }
    v.padded = true;
    if (auto m = modifier(s.substr(end))) return with(v, *m, s.substr(i, end - i));
    v.padded = false;
  }
  // A date, with the modifier's separator, if any, left to it.
  std::size_t run = i;
  while (run < s.size() && (is_digit(s[run]) || std::string_view(".:-").find(s[run]) != s.npos))
    ++run;
  for (std::size_t date_end : {run, run - 1}) {
    auto m = modifier(s.substr(date_end));
    if (m && date_end > i && is_digit(s[date_end - 1]) && date_shape(s.substr(i, date_end - i)))
      return with(v, *m, s.substr(i, date_end - i));
  }
  // A numbered branch: "1.2.x-dev".
  if (s.size() >= 3 && equals_without_case(s.substr(s.size() - 3), "dev")) {
    std::string_view numbered = s.substr(i, s.size() - 3 - i);
    if (!numbered.empty() && (numbered.back() == '.' || numbered.back() == '-'))
      numbered.remove_suffix(1);
    numbered = numbered.substr(0, numbered.find_last_not_of(blanks) + 1);
    if (wildcard_shape(numbered)) {
      v.release = numbered;
      v.wildcards = v.dev = true;
      return v;
    }
  }
  return fail(end, shown_more);
}

std::string normalized(const Parts& v) {
  if (v.branch) return std::string("dev-").append(v.name);
  std::string out;
  numbers(v, [&](std::string_view digits) { out.append(out.empty() ? "" : ".").append(digits); });
  if (v.stability != Stability::stable) {
    std::string_view n = v.stability_numbers;
    while (!n.empty() && (n[0] == '.' || n[0] == '-')) n.remove_prefix(1);
    out.append("-").append(words[static_cast<std::size_t>(v.stability)]).append(n);
  }
  if (v.dev) out.append("-dev");
  return out;
}

void append_key(std::string& out, const Parts& v) {
  key_bytes::WholeKey sink(out);
  put_key(sink, v);
}

KeyBound bound(RangeOp op, const Parts& v) {
  KeyBound b{op, {}, {}, std::nullopt, normalized(v)};
  append_key(b.key, v);
  return b;
}

}  // namespace tolva::scheme::detail::composer

namespace tolva::scheme::detail {

const Row composer_row{
    .scheme = Scheme::composer,
    .names = composer::names,
    .append_key = composer::append_composer_key,
    .key_size_bound = composer::key_size_bound,
    .fields = composer::fields,
    .read_range = composer::read_range,
    .check = check_by_reading<composer::read>,
    .compare = compare_by_reading<composer::read, composer::compare>,
};

}  // namespace tolva::scheme::detail
