#include "tolva/scheme/scheme.hpp"

#include <array>

#include "decimal_key.hpp"
#include "tolva/grammar/readers.hpp"
#include "tolva/grammar/text_order_key.hpp"
#include "tolva/scheme/debian.hpp"
#include "tolva/scheme/natural.hpp"
#include "tolva/scheme/semver.hpp"

namespace tolva::scheme {
namespace {

constexpr std::array<std::string_view, 4> names{"tolva", "semver", "natural", "debian"};

}  // namespace

std::string_view name(Scheme s) noexcept { return names[static_cast<std::size_t>(s)]; }

std::optional<Scheme> named(std::string_view text) noexcept {
  for (Scheme s : all)
    if (name(s) == text) return s;
  return std::nullopt;
}

std::expected<void, ParseError> check(std::string_view text, Scheme s) {
  switch (s) {
    case Scheme::tolva: return check_as<Version>(text);
    case Scheme::semver:
      if (auto v = semver::read(text); !v) return std::unexpected(std::move(v.error()));
      return {};
    case Scheme::debian:
      if (auto v = debian::read(text); !v) return std::unexpected(std::move(v.error()));
      return {};
    case Scheme::natural: break;
  }
  return {};
}

std::expected<void, ParseError> append_order_key(std::string& out, std::string_view text,
                                                 Scheme s) {
  switch (s) {
    case Scheme::tolva: return append_order_key_as<Version>(out, text);
    case Scheme::semver: {
      auto v = semver::read(text);
      if (!v) return std::unexpected(std::move(v.error()));
      semver::append_order_key(out, *v);
      return {};
    }
    case Scheme::debian: {
      auto v = debian::read(text);
      if (!v) return std::unexpected(std::move(v.error()));
      debian::append_order_key(out, *v);
      return {};
    }
    case Scheme::natural: break;
  }
  natural::append_order_key(out, text);
  return {};
}

std::size_t order_key_size_bound(std::size_t size, Scheme s) noexcept {
  switch (s) {
    case Scheme::tolva: return tolva::order_key_size_bound(size, PartOrder::text);
    case Scheme::semver: return detail::semver_key_bound(size);
    case Scheme::natural: return detail::natural_key_bound(size);
    case Scheme::debian: break;
  }
  return detail::debian_key_bound(size);
}

std::expected<std::string, ParseError> order_key(std::string_view text, Scheme s) {
  std::string key;
  if (auto done = append_order_key(key, text, s); !done) return std::unexpected(done.error());
  return key;
}

namespace {

template <class Read, class Compare>
std::expected<std::weak_ordering, ParseError> read_both(std::string_view a, std::string_view b,
                                                        Read read, Compare order) {
  auto x = read(a);
  if (!x) return std::unexpected(std::move(x.error()));
  auto y = read(b);
  if (!y) return std::unexpected(std::move(y.error()));
  return order(*x, *y);
}

}  // namespace

std::expected<std::weak_ordering, ParseError> compare(std::string_view a, std::string_view b,
                                                      Scheme s) {
  switch (s) {
    case Scheme::tolva:
      return read_both(
          a, b, parse_as<Version>,
          [](const Version& x, const Version& y) -> std::weak_ordering { return x <=> y; });
    case Scheme::semver:
      return read_both(a, b, semver::read, [](const semver::Parts& x, const semver::Parts& y) {
        return semver::compare(x, y);
      });
    case Scheme::debian:
      return read_both(a, b, debian::read, [](const debian::Parts& x, const debian::Parts& y) {
        return debian::compare(x, y);
      });
    case Scheme::natural: break;
  }
  return natural::compare(a, b);
}

}  // namespace tolva::scheme
