#pragma once
// TDateTime: days since 30.12.1899, the fraction being the time of day.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

using TDateTime = double;

namespace hrdoc::text {

struct Ymd {
  uint16_t year = 0, month = 0, day = 0;
};

struct Hms {
  uint16_t hour = 0, minute = 0, second = 0, msec = 0;
};

bool is_leap_year(int year);
// 0 for a month outside 1..12.
int days_in_month(int year, int month);
int days_in_month(TDateTime d);
TDateTime encode_date(int year, int month, int day);
// The date part of a TDateTime (the time of day is dropped). Before 30.12.1899 the fraction
// still counts forward in the day: -1.25 is 29.12.1899 06:00.
Ymd decode_date(TDateTime d);
// The fraction of a day for a time of day.
TDateTime encode_time(int hour, int minute, int second, int msec = 0);
Hms decode_time(TDateTime d);
// The date part only.
TDateTime date_of(TDateTime d);
TDateTime today();
// Local date and time of day.
TDateTime now();
// "dd.mm.yyyy".
std::string date_text(TDateTime d);
// "dd.mm.yyyy hh:mm:ss", the form of the print-time fields.
std::string datetime_text(TDateTime d);
// "hh:mm:ss".
std::string time_text(TDateTime d);
// Reads "dd.mm.yyyy" or "yyyy-mm-dd"; nothing for anything else or an impossible date.
std::optional<TDateTime> parse_date(std::string_view text);

TDateTime first_day_of_month(TDateTime d);
TDateTime last_day_of_month(TDateTime d);
// The first day of the following month; December rolls into January of the next year.
TDateTime first_day_of_next_month(TDateTime d);
// The same day n months later (or earlier for negative n), kept within the target month.
TDateTime add_months(TDateTime d, int months);
// Whole years between two dates, in either order: the day difference divided by 365.25,
// truncated. Age and service-length counts of the statistics reports use this rule.
int whole_years_between(TDateTime a, TDateTime b);


}  // namespace hrdoc::text
