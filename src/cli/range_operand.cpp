#include "range_operand.hpp"

#include <algorithm>

#include "definitions.hpp"

namespace tolva::cli {
namespace {}  // namespace

bool is_vers(std::string_view text) noexcept {
  return text.size() >= 5 && text[4] == ':' &&
         std::ranges::equal(text.substr(0, 4), std::string_view("vers"),
                            [](char a, char b) { return (a | 0x20) == b; });
}

std::expected<VersionRange, RangeError> read_range_operand(
    std::string_view text, const Invocation& invocation, std::span<const std::string_view> others) {
  const auto given = invocation.scheme_named ? vers_type(invocation.scheme) : std::nullopt;
  if (invocation.scheme_named && !given) {
    return std::unexpected(
        RangeError{"scheme", "tolva's own scheme has no vers type; name another with --scheme"});
  }
  if (is_vers(text)) {
    auto range = read_vers(text, invocation.strict);
    if (range && given && range->type().name != given->name &&
        range->type().family == VersType::Family::scheme) {
      std::string message = std::string("--scheme ").append(scheme::name(invocation.scheme));
      return std::unexpected(
          RangeError{"scheme", message.append(" does not agree with ").append(text)});
    }
    return range;
  }
  std::optional<Scheme> s;
  if (given) s = invocation.scheme;
  for (std::string_view other : others) {
    if (s || !is_vers(other)) continue;
    if (auto type = read_vers_text(other); type) {
      if (auto t = vers_type(type->type); t && t->family == VersType::Family::scheme) s = t->scheme;
    }
  }
  if (!s) {
    std::string message = std::string("'").append(text);
    return std::unexpected(RangeError{
        "scheme",
        message.append("' is no vers text (vers:TYPE/...); a scheme's own range needs --scheme")});
  }
  return read_native(text, *s, invocation.include_prerelease);
}

Invocation with_range_scheme(const Invocation& invocation) {
  Invocation out = invocation;
  if (!invocation.range || !is_vers(*invocation.range)) return out;
  if (auto text = read_vers_text(*invocation.range)) {
    if (auto type = vers_type(text->type); type && type->family == VersType::Family::scheme) {
      out.scheme = type->scheme;
    }
  }
  return out;
}

ExitStatus range_trouble(Streams& io, const Invocation& invocation, const RangeError& error) {
  std::string line = std::string("tolva: ").append(definition_of(invocation.command).name);
  io.report(
      line.append(": ").append(error.message).append(" (").append(error.reason).append(")\n"));
  return ExitStatus::trouble;
}

ExitStatus line_trouble(Streams& io, const Invocation& invocation, std::string_view name,
                        std::size_t number, const RangeError& error) {
  range_trouble(
      io, invocation,
      {error.reason, std::string(name) + ":" + std::to_string(number) + ": " + error.message});
  return ExitStatus::rejected;
}

}  // namespace tolva::cli
