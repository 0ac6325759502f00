#include "tolva/values/hash.hpp"

#include <cstdint>
#include <string_view>
#include <type_traits>

namespace {

// Folds `value` into `seed`; the multiplier spreads small numbers, which
// versions are full of, over the whole word.
void mix(std::size_t& seed, std::size_t value) noexcept {
  seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
}

void mix_parts(std::size_t& seed, tolva::TextSpan parts) noexcept {
  mix(seed, parts.size());
  for (const tolva::ShortText& part : parts) mix(seed, std::hash<std::string_view>{}(part.view()));
}

}  // namespace

std::size_t std::hash<tolva::SemVer>::operator()(const tolva::SemVer& v) const noexcept {
  std::size_t seed = 0;
  mix(seed, v.major);
  mix(seed, v.minor);
  mix(seed, v.patch);
  // An absent rc differs from an empty one, as `==` says.
  const tolva::OptionalTextSpan rc = v.rc();
  mix(seed, rc.has_value());
  if (rc) mix_parts(seed, *rc);
  return seed;
}

std::size_t std::hash<tolva::DotSeparated>::operator()(
    const tolva::DotSeparated& v) const noexcept {
  std::size_t seed = 0;
  mix_parts(seed, v.parts);
  return seed;
}

std::size_t std::hash<tolva::Other>::operator()(const tolva::Other& v) const noexcept {
  return std::hash<std::string_view>{}(v.value.view());
}

std::size_t std::hash<tolva::Version>::operator()(const tolva::Version& v) const noexcept {
  std::size_t seed = v.value.index();
  if (v.value.valueless_by_exception()) return seed;
  v.visit([&seed](const auto& held) {
    mix(seed, std::hash<std::remove_cvref_t<decltype(held)>>{}(held));
  });
  return seed;
}
