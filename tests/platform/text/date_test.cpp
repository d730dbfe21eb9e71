#include "text/date.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace hrdoc::text;

TEST(Date, CountsDaysFromTheEpochOf30December1899BothWays) {
  EXPECT_EQ(encode_date(1899, 12, 30), 0);
  EXPECT_EQ(encode_date(1900, 1, 1), 2);
  EXPECT_EQ(encode_date(2000, 1, 1), 36526);
  EXPECT_EQ(encode_date(1899, 12, 29), -1);
  // Decoding drops the time of day on both sides of the epoch and refuses garbage.
  auto ymd = [](TDateTime d) { Ymd v = decode_date(d); return std::vector<int>{v.year, v.month, v.day}; };
  EXPECT_EQ(ymd(36526.75), (std::vector<int>{2000, 1, 1}));
  // Before the epoch the fraction still counts forward in the day.
  EXPECT_EQ(ymd(-1.25), (std::vector<int>{1899, 12, 29}));
  Hms t = decode_time(-1.25);
  EXPECT_EQ(t.hour * 60 + t.minute, 6 * 60);
  EXPECT_EQ(decode_date(NAN).year, 0);
  EXPECT_EQ(decode_date(1e300).year, 0);
  EXPECT_EQ(decode_time(INFINITY).hour, 0);
}

TEST(Date, RoundTripsEveryDayOverFourCenturies) {
  TDateTime d = encode_date(1800, 1, 1);
  for (int y = 1800; y < 2200; ++y)
    for (int m = 1; m <= 12; ++m)
      for (int day = 1; day <= days_in_month(y, m); ++day, d += 1) {
        ASSERT_EQ(encode_date(y, m, day), d) << day << "." << m << "." << y;
        Ymd back = decode_date(d);
        ASSERT_TRUE(back.year == y && back.month == m && back.day == day) << d;
      }
}

TEST(Date, MonthLengthsAndBoundsFollowTheGregorianLeapRules) {
  const struct { int year, month, days; } lengths[] = {
      {2024, 2, 29}, {2023, 2, 28}, {1900, 2, 28}, {2000, 2, 29}, {2023, 4, 30}, {2023, 13, 0}};
  for (const auto& c : lengths) EXPECT_EQ(days_in_month(c.year, c.month), c.days) << c.month << "." << c.year;
  EXPECT_EQ(days_in_month(encode_date(2024, 2, 10)), 29);
  TDateTime d = encode_date(2024, 2, 17) + 0.5;
  EXPECT_EQ(first_day_of_month(d), encode_date(2024, 2, 1));
  EXPECT_EQ(last_day_of_month(d), encode_date(2024, 2, 29));
  EXPECT_EQ(first_day_of_next_month(d), encode_date(2024, 3, 1));
  EXPECT_EQ(first_day_of_next_month(encode_date(2023, 12, 31)), encode_date(2024, 1, 1));
}

TEST(Date, AddMonthsKeepsTheDayWithinTheTargetMonthAndTheTime) {
  const struct { TDateTime from; int months; TDateTime to; } cases[] = {
      {encode_date(2024, 1, 31), 1, encode_date(2024, 2, 29)},
      {encode_date(2024, 3, 31), -1, encode_date(2024, 2, 29)},
      {encode_date(2023, 11, 15), 14, encode_date(2025, 1, 15)},
      {encode_date(2023, 1, 15), -13, encode_date(2021, 12, 15)},
      {encode_date(2023, 1, 15) + 0.25, 1, encode_date(2023, 2, 15) + 0.25}};
  for (const auto& c : cases) EXPECT_EQ(add_months(c.from, c.months), c.to) << date_text(c.from) << " + " << c.months;
}

TEST(Date, WholeYearsUseTheYearOf365AndAQuarterDays) {
  TDateTime birth = encode_date(1980, 6, 15);
  EXPECT_EQ(whole_years_between(birth, encode_date(2020, 6, 15)), 40);
  EXPECT_EQ(whole_years_between(birth, encode_date(2020, 6, 14)), 39);
  EXPECT_EQ(whole_years_between(encode_date(2020, 6, 15), birth), 40);
  // 365 days after a birthday in a non-leap stretch is not yet a year by this rule.
  EXPECT_EQ(whole_years_between(encode_date(2021, 3, 1), encode_date(2022, 3, 1)), 0);
  // An empty birth date reads as day 0 and gives a large age.
  EXPECT_EQ(whole_years_between(0, encode_date(2020, 1, 1)), 120);
  EXPECT_EQ(whole_years_between(NAN, 1), 0);
}

TEST(Date, TextsAndParsingBothDateForms) {
  TDateTime d = encode_date(2024, 3, 5) + encode_time(7, 8, 9, 999);
  EXPECT_EQ(datetime_text(d), "05.03.2024 07:08:09");
  EXPECT_EQ(date_text(d) + " " + time_text(d), "05.03.2024 07:08:09");
  EXPECT_EQ(time_text(encode_date(2024, 3, 5) + 0.99999999999), "23:59:59");
  EXPECT_EQ(parse_date("05.03.2024"), encode_date(2024, 3, 5));
  EXPECT_EQ(parse_date("2024-03-05"), encode_date(2024, 3, 5));
  for (const char* bad : {"31.02.2024", "5.3.2024", "05.03.2024x", ""}) EXPECT_FALSE(parse_date(bad)) << bad;
  TDateTime before = today(), n = now();  // now is today with a time of day
  EXPECT_GE(n, before);
  EXPECT_LT(n, today() + 1);
  EXPECT_EQ(date_of(n), std::trunc(n));
}
