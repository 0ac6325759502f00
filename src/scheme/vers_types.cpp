#include <array>
#include <cstdint>
#include <string>

#include "tolva/scheme/version_range.hpp"

namespace tolva {
namespace {

using Family = VersType::Family;

constexpr std::array<VersType, 10> types{{
    {"all", Family::all},
    {"none", Family::none},
    {"lexicographic", Family::lexicographic},
    {"intdot", Family::intdot},
    {"datetime", Family::datetime},
    {"npm", Family::scheme, Scheme::semver, true},
    {"semver", Family::scheme, Scheme::semver},
    {"deb", Family::scheme, Scheme::debian},
    {"natural", Family::scheme, Scheme::natural},
    // Cargo lets a pre-release in only where a comparator names a pre-release
    // of its release, as npm does.
    {"cargo", Family::scheme, Scheme::cargo, true},
}};

bool is_digit(char c) noexcept { return c >= '0' && c <= '9'; }

void put_be(std::string& out, std::uint64_t n, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((n >> (8 * i)) & 0xFF);
}

RangeError bad_version(std::string_view version, const VersType& type, std::string_view why) {
  std::string message = std::string("'").append(version).append("' is not a ");
  return {"version", message.append(type.name).append(" version: ").append(why)};
}

// Dotted integers, up to the first character that is neither a digit nor a
// dot between numbers. Each number is its digit count (4 bytes) and its
// digits without leading zeros: more digits is a larger number, and a list
// that is a prefix of another orders first.
std::expected<TypedKey, RangeError> intdot_key(std::string_view text, const VersType& type) {
  if (text.empty() || !is_digit(text[0]))
    return std::unexpected(bad_version(text, type, "it does not start with a digit"));
  TypedKey out;
  std::size_t i = 0;
  for (;;) {
    while (i + 1 < text.size() && text[i] == '0' && is_digit(text[i + 1])) ++i;
    const std::size_t start = i;
    while (i < text.size() && is_digit(text[i])) ++i;
    std::string_view digits = text.substr(start, i - start);
    if (digits == "0") digits = {};
    out.key += '\x01';
    put_be(out.key, digits.size(), 4);
    out.key += digits;
    if (i + 1 < text.size() && text[i] == '.' && is_digit(text[i + 1])) {
      ++i;
      continue;
    }
    return out;
  }
}

// An RFC 3339 date-time as the instant it names: seconds since 1970 in UTC
// (offset by 2^63, most significant byte first), then the fraction's digits
// without trailing zeros.
std::expected<TypedKey, RangeError> datetime_key(std::string_view t, const VersType& type) {
  auto number = [&](std::size_t at, std::size_t n) -> std::optional<int> {
    if (at + n > t.size()) return std::nullopt;
    int v = 0;
    for (std::size_t i = at; i < at + n; ++i) {
      if (!is_digit(t[i])) return std::nullopt;
      v = v * 10 + (t[i] - '0');
    }
    return v;
  };
  auto fail = [&] {
    return std::unexpected(
        bad_version(t, type, "an RFC 3339 date-time is YYYY-MM-DDTHH:MM:SS[.F](Z|+HH:MM|-HH:MM)"));
  };
  const auto year = number(0, 4), month = number(5, 2), day = number(8, 2), hour = number(11, 2),
             minute = number(14, 2), second = number(17, 2);
  if (!year || !month || !day || !hour || !minute || !second || t[4] != '-' || t[7] != '-' ||
      (t[10] != 'T' && t[10] != 't') || t[13] != ':' || t[16] != ':') {
    return fail();
  }
  const bool leap = (*year % 4 == 0 && *year % 100 != 0) || *year % 400 == 0;
  constexpr std::array<int, 12> month_days{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (*month < 1 || *month > 12 || *day < 1 ||
      *day > month_days[static_cast<std::size_t>(*month - 1)] + (*month == 2 && leap) ||
      *hour > 23 || *minute > 59 || *second > 60) {
    return fail();
  }
  std::size_t i = 19;
  std::string_view fraction;
  if (i < t.size() && t[i] == '.') {
    const std::size_t start = ++i;
    while (i < t.size() && is_digit(t[i])) ++i;
    if (i == start) return fail();
    fraction = t.substr(start, i - start);
    while (!fraction.empty() && fraction.back() == '0') fraction.remove_suffix(1);
  }
  std::int64_t offset = 0;
  if (i < t.size() && (t[i] == 'Z' || t[i] == 'z')) {
    ++i;
  } else {
    const auto oh = number(i + 1, 2), om = number(i + 4, 2);
    if (i >= t.size() || (t[i] != '+' && t[i] != '-') || !oh || !om || t[i + 3] != ':' ||
        *oh > 23 || *om > 59) {
      return fail();
    }
    offset = (t[i] == '-' ? -1 : 1) * (*oh * 3600 + *om * 60);
    i += 6;
  }
  if (i != t.size()) return fail();
  // Days since 1970-01-01 of a proleptic Gregorian date, counted in eras of
  // 400 years from March, so that the leap day ends a year.
  const int y = *year - (*month <= 2);
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int year_of_era = y - era * 400;
  const int day_of_year = (153 * (*month + (*month > 2 ? -3 : 9)) + 2) / 5 + *day - 1;
  const int day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  const std::int64_t days = std::int64_t{era} * 146097 + day_of_era - 719468;
  const std::int64_t seconds = days * 86400 + *hour * 3600 + *minute * 60 + *second - offset;
  TypedKey out;
  put_be(out.key, static_cast<std::uint64_t>(seconds) ^ (std::uint64_t{1} << 63), 8);
  out.key += fraction;
  return out;
}

}  // namespace

std::optional<VersType> vers_type(std::string_view name) noexcept {
  for (const VersType& t : types)
    if (t.name == name) return t;
  // A scheme by its own name reads as the type of its ranges.
  if (auto s = scheme::named(name); s && *s != Scheme::tolva) return vers_type(*s);
  return std::nullopt;
}

std::optional<VersType> vers_type(Scheme s) noexcept {
  if (s == Scheme::tolva) return std::nullopt;
  for (const VersType& t : types)
    if (t.family == Family::scheme && t.scheme == s) return t;
  return VersType{scheme::name(s), Family::scheme, s};
}

std::expected<TypedKey, RangeError> typed_key(std::string_view version, const VersType& type) {
  switch (type.family) {
    case Family::intdot: return intdot_key(version, type);
    case Family::datetime: return datetime_key(version, type);
    case Family::scheme: break;
    default: return TypedKey{std::string(version)};
  }
  TypedKey out;
  auto key = scheme::append_order_key(out.key, version, type.scheme);
  if (!key) {
    const auto& e = key.error();
    std::string why = "at column " + std::to_string(e.span.start + 1) + ", expected ";
    for (std::size_t i = 0; i < e.expected.size(); ++i) {
      if (i > 0) why += i + 1 == e.expected.size() ? " or " : ", ";
      why += grammar::display_text(e.expected[i]);
    }
    return std::unexpected(bad_version(version, type, why));
  }
  out.prerelease = type.prerelease_rule && key->prerelease;
  return out;
}

}  // namespace tolva
