// The order key of a Python package version.
#include "pypi.hpp"

namespace tolva::scheme::detail::pypi {
namespace {

// The release's numbers less the zeros that end it, which change nothing
// (all of them for a release of zeros).
std::string_view significant_release(std::string_view r) noexcept {
  while (!r.empty() && key_bytes::significant_digits(r.substr(r.rfind('.') + 1)).empty()) {
    r = r.substr(0, r.find('.') == r.npos ? 0 : r.rfind('.'));
  }
  return r;
}

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

}  // namespace

MadeKey made_key(const Parts& v) {
  MadeKey k;
  key_bytes::WholeKey out(k.key);
  put_key(out, v, [&](std::size_t KeyMarks::*m) { k.marks.*m = k.key.size(); });
  return k;
}

std::size_t key_size_bound(std::size_t size, const Order&) noexcept { return 2 * size + 24; }

Keyed append_key(std::string& out, std::string_view text, const Order& order) {
  auto v = read(text, false);
  if (!v) return std::unexpected(std::move(v.error()));
  key_bytes::append_key(out, key_size_bound(text.size(), order),
                        [&](key_bytes::Room& room) { put_key(room, *v, [](auto) {}); });
  return KeyFacts{v->prerelease(), 0};
}

}  // namespace tolva::scheme::detail::pypi
