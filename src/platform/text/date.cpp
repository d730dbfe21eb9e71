#include "date.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace hrdoc::text {
namespace {

// Days from 1970-01-01 to the civil date (proleptic Gregorian), after H. Hinnant.
int64_t days_from_civil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

Ymd civil_from_days(int64_t z) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t y = static_cast<int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return Ymd{static_cast<uint16_t>(y + (m <= 2)), static_cast<uint16_t>(m), static_cast<uint16_t>(d)};
}

// 30.12.1899 is 25569 days before 01.01.1970.
constexpr int64_t kUnixEpochOffset = 25569;
constexpr int64_t kMsecPerDay = 86400000;
// Far beyond any real date; keeps the conversions to integers defined for garbage values.
constexpr double kDayLimit = 1e8;

bool usable(TDateTime d) { return std::isfinite(d) && std::fabs(d) < kDayLimit; }

// Joins a whole day number and a time of day the way TDateTime does: before the epoch the
// time still counts forward within the day, so it is subtracted from the negative day number.
TDateTime compose(double day, double time) { return day < 0 ? day - time : day + time; }

}  // namespace

bool is_leap_year(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int days_in_month(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && is_leap_year(year) ? 29 : days[month - 1];
}

int days_in_month(TDateTime d) {
  Ymd ymd = decode_date(d);
  return days_in_month(ymd.year, ymd.month);
}

TDateTime encode_date(int year, int month, int day) {
  return static_cast<double>(days_from_civil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
                             kUnixEpochOffset);
}

Ymd decode_date(TDateTime d) {
  if (!usable(d)) return Ymd{};
  return civil_from_days(static_cast<int64_t>(std::trunc(d)) - kUnixEpochOffset);
}

TDateTime encode_time(int hour, int minute, int second, int msec) {
  return (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + msec) / kMsecPerDay;
}

Hms decode_time(TDateTime d) {
  if (!usable(d)) return Hms{};
  auto ms = static_cast<int64_t>(std::llround(std::fabs(d - std::trunc(d)) * kMsecPerDay));
  // A fraction a hair below the next midnight stays in its own day.
  if (ms >= kMsecPerDay) ms = kMsecPerDay - 1;
  return Hms{static_cast<uint16_t>(ms / 3600000), static_cast<uint16_t>(ms / 60000 % 60),
             static_cast<uint16_t>(ms / 1000 % 60), static_cast<uint16_t>(ms % 1000)};
}

TDateTime date_of(TDateTime d) { return usable(d) ? std::trunc(d) : d; }

TDateTime today() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return encode_date(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

TDateTime now() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  std::tm local{};
  localtime_r(&ts.tv_sec, &local);
  return encode_date(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
         encode_time(local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(ts.tv_nsec / 1000000));
}

std::string date_text(TDateTime d) {
  Ymd ymd = decode_date(d);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02u.%02u.%04u", ymd.day, ymd.month, ymd.year);
  return buf;
}

std::string datetime_text(TDateTime d) { return date_text(d) + " " + time_text(d); }

std::string time_text(TDateTime d) {
  Hms t = decode_time(d);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02u:%02u:%02u", t.hour, t.minute, t.second);
  return buf;
}

std::optional<TDateTime> parse_date(std::string_view text) {
  int y = 0, m = 0, d = 0;
  char tail = 0;
  std::string s(text);
  if (std::sscanf(s.c_str(), "%2d.%2d.%4d%c", &d, &m, &y, &tail) == 3 && s.size() == 10) {
  } else if (std::sscanf(s.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) == 3 && s.size() == 10) {
  } else {
    return std::nullopt;
  }
  if (y < 1 || m < 1 || m > 12 || d < 1 || d > days_in_month(y, m)) return std::nullopt;
  return encode_date(y, m, d);
}

TDateTime first_day_of_month(TDateTime d) {
  Ymd ymd = decode_date(d);
  return encode_date(ymd.year, ymd.month, 1);
}

TDateTime last_day_of_month(TDateTime d) {
  Ymd ymd = decode_date(d);
  return encode_date(ymd.year, ymd.month, days_in_month(ymd.year, ymd.month));
}

TDateTime first_day_of_next_month(TDateTime d) {
  Ymd ymd = decode_date(d);
  return ymd.month == 12 ? encode_date(ymd.year + 1, 1, 1) : encode_date(ymd.year, ymd.month + 1, 1);
}

TDateTime add_months(TDateTime d, int months) {
  if (!usable(d)) return d;
  Ymd ymd = decode_date(d);
  int64_t index = int64_t{ymd.year} * 12 + (ymd.month - 1) + months;
  int year = static_cast<int>(index >= 0 ? index / 12 : (index - 11) / 12);
  int month = static_cast<int>(index - int64_t{year} * 12) + 1;
  int day = std::min<int>(ymd.day, days_in_month(year, month));
  return compose(encode_date(year, month, day), std::fabs(d - std::trunc(d)));
}

int whole_years_between(TDateTime a, TDateTime b) {
  double days = std::fabs(b - a);
  if (!std::isfinite(days) || days >= kDayLimit) return 0;
  return static_cast<int>(days / 365.25);
}

}  // namespace hrdoc::text
