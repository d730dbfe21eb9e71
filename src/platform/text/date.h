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

bool is_leap_year(int year);
int days_in_month(int year, int month);
TDateTime encode_date(int year, int month, int day);
// The date part of a TDateTime (the time of day is dropped).
Ymd decode_date(TDateTime d);
TDateTime today();
// "dd.mm.yyyy".
std::string date_text(TDateTime d);
// Reads "dd.mm.yyyy" or "yyyy-mm-dd"; nothing for anything else or an impossible date.
std::optional<TDateTime> parse_date(std::string_view text);

}  // namespace hrdoc::text
