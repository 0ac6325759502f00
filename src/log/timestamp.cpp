#include "timestamp.hpp"

#include <time.h>

#include <cstdint>

#include "text/decimal.hpp"

namespace tolva::log {
namespace {

struct CivilDate {
  std::int64_t year;
  unsigned month;
  unsigned day;
};

// The proleptic Gregorian date `days` after 1970-01-01 (days may be negative).
CivilDate civil_from_days(std::int64_t days) noexcept {
  days += 719468;  // count from 0000-03-01
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const auto day_of_era = static_cast<std::uint64_t>(days - era * 146097);
  const std::uint64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const std::uint64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const std::uint64_t shifted_month = (5 * day_of_year + 2) / 153;  // March is 0
  const auto day = static_cast<unsigned>(day_of_year - (153 * shifted_month + 2) / 5 + 1);
  const auto month = static_cast<unsigned>(shifted_month < 10 ? shifted_month + 3 : shifted_month - 9);
  const std::int64_t year = static_cast<std::int64_t>(year_of_era) + era * 400 + (month <= 2 ? 1 : 0);
  return {year, month, day};
}

}  // namespace

std::optional<Timestamp> system_clock_now() noexcept {
  timespec now;
  if (clock_gettime(CLOCK_REALTIME, &now) != 0) return std::nullopt;
  return Timestamp(std::chrono::microseconds(
      static_cast<std::int64_t>(now.tv_sec) * 1'000'000 + now.tv_nsec / 1000));
}

void append_timestamp(std::string& out, std::optional<Timestamp> time) {
  if (!time) {
    out += "<unknown time>";
    return;
  }
  constexpr std::int64_t kMicrosPerDay = 86'400'000'000;
  const std::int64_t micros = time->time_since_epoch().count();
  std::int64_t days = micros / kMicrosPerDay;
  std::int64_t of_day = micros % kMicrosPerDay;
  if (of_day < 0) {
    of_day += kMicrosPerDay;
    --days;
  }
  const CivilDate date = civil_from_days(days);
  if (date.year > 9999) out += '+';
  append_decimal(out, date.year, 4);
  out += '-';
  append_decimal(out, date.month, 2);
  out += '-';
  append_decimal(out, date.day, 2);
  out += 'T';
  const std::int64_t seconds = of_day / 1'000'000;
  append_decimal(out, seconds / 3600, 2);
  out += ':';
  append_decimal(out, seconds / 60 % 60, 2);
  out += ':';
  append_decimal(out, seconds % 60, 2);
  out += '.';
  append_decimal(out, of_day % 1'000'000, 6);
  out += 'Z';
}

}  // namespace tolva::log
