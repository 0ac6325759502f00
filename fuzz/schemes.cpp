#include <string>

#include "checks.hpp"
#include "scheme/row.hpp"
#include "tolva/explain.hpp"
#include "tolva/scheme/order.hpp"

namespace {

using namespace tolva;

int sign(std::weak_ordering o) { return o < 0 ? -1 : o > 0 ? 1 : 0; }

void check_refusal(std::string_view text, const ParseError& error) {
  const std::string_view name = "<version>";
  const report::ReportStyle style{.source_name = name, .first_line = 1, .colour = false};
  fuzz::check_rejection(text, error, explain(error, text, style), name);
}

}  // namespace

// The version schemes over any bytes. The first byte picks the scheme, the
// rest is two texts split at the first tab. Under every scheme: a refusal is
// one error inside the text that a report draws, and the same for keys and
// comparisons; the order keys of two texts order exactly as compare() does;
// the natural scheme refuses nothing; a key never outgrows its bound. The
// whole rest also reads as a range, whose refusal reports the same way and
// which holds for the texts as it holds for their keys (tolva's: as it holds
// for the values).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const Scheme s = scheme::all[data[0] % std::size(scheme::all)];
  const std::string_view rest = *fuzz::as_text(data + 1, size - 1);
  const std::size_t tab = rest.find('\t');
  const std::string_view a = rest.substr(0, tab);
  const std::string_view b = tab == std::string_view::npos ? a : rest.substr(tab + 1);
  std::string key_a = "x";
  const auto made = scheme::append_order_key(key_a, a, s);
  fuzz::require(made.has_value() == scheme::check(a, s).has_value(), "key and check disagree");
  fuzz::require(made || s != Scheme::natural, "the natural scheme refused a text");
  fuzz::require(key_a.size() - 1 <= scheme::order_key_size_bound(a.size(), s),
                "a key outgrew its bound");
  if (!made) {
    fuzz::require(key_a == "x", "a refused text changed the key");
    check_refusal(a, made.error());
  }
  const auto key_b = scheme::order_key(b, s);
  const auto order = scheme::compare(a, b, s);
  fuzz::require(order.has_value() == (made && key_b), "compare and keys disagree on refusal");
  if (order) {
    const int by_keys = sign(std::string_view(key_a).substr(1).compare(*key_b) <=> 0);
    fuzz::require(sign(*order) == by_keys, "keys order otherwise than compare");
  }
  // A key written only as far as it may pass b's, from either side: the
  // whole key, or nothing for a key that does not pass.
  const auto past = scheme::detail::row(s).append_key_past;
  for (int side : {1, -1}) {
    if (past == nullptr || !key_b) break;
    std::string part = "x";
    const auto cut = past(part, a, s, key_bytes::Bar{*key_b, side});
    fuzz::require(cut.has_value() == made.has_value(), "a key cut short and the key disagree");
    if (!cut) continue;
    const int by_keys = sign(std::string_view(key_a).substr(1).compare(*key_b) <=> 0);
    fuzz::require(*cut ? part == key_a : part == "x" && by_keys != side,
                  "a key cut short of a key it passes, or written in part");
  }
  const auto range = scheme::read_range(rest, s);
  if (!range) {
    check_refusal(rest, range.error());
  } else if (made) {
    fuzz::require(scheme::contains(*range, a) == range->contains(key_a.substr(1), *made),
                  "a range holds otherwise for the text than for its key");
    if (s == Scheme::tolva) {
      fuzz::require(*scheme::contains(*range, a) == contains(*parse_range(rest), *parse(a)),
                    "tolva's range holds otherwise for the key than for the value");
    }
  }
  return 0;
}
