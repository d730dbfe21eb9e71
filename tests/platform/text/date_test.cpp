#include "text/date.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace hrdoc::text;

TEST(Date, EncodesDaysFromTheEpochOf30December1899) {
  EXPECT_EQ(encode_date(1899, 12, 30), 0);
  EXPECT_EQ(encode_date(1900, 1, 1), 2);
  EXPECT_EQ(encode_date(2000, 1, 1), 36526);
  EXPECT_EQ(encode_date(1899, 12, 29), -1);
}

TEST(Date, DecodeDropsTheTimeOfDayOnBothSidesOfTheEpoch) {
  Ymd d = decode_date(36526.75);
  EXPECT_EQ(d.year, 2000);
  EXPECT_EQ(d.month, 1);
  EXPECT_EQ(d.day, 1);
  // Before the epoch the fraction still counts forward in the day.
  Ymd before = decode_date(-1.25);
  EXPECT_EQ(before.day, 29);
  EXPECT_EQ(before.month, 12);
  EXPECT_EQ(before.year, 1899);
  Hms t = decode_time(-1.25);
  EXPECT_EQ(t.hour, 6);
  EXPECT_EQ(t.minute, 0);
}

TEST(Date, DecodeOfGarbageGivesAnEmptyDate) {
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

TEST(Date, MonthLengthsFollowTheGregorianLeapRules) {
  EXPECT_EQ(days_in_month(2024, 2), 29);
  EXPECT_EQ(days_in_month(2023, 2), 28);
  EXPECT_EQ(days_in_month(1900, 2), 28);
  EXPECT_EQ(days_in_month(2000, 2), 29);
  EXPECT_EQ(days_in_month(2023, 4), 30);
  EXPECT_EQ(days_in_month(2023, 13), 0);
  EXPECT_EQ(days_in_month(encode_date(2024, 2, 10)), 29);
}

TEST(Date, FirstAndLastDayOfTheMonth) {
  TDateTime d = encode_date(2024, 2, 17) + 0.5;
  EXPECT_EQ(first_day_of_month(d), encode_date(2024, 2, 1));
  EXPECT_EQ(last_day_of_month(d), encode_date(2024, 2, 29));
  EXPECT_EQ(first_day_of_next_month(d), encode_date(2024, 3, 1));
  EXPECT_EQ(first_day_of_next_month(encode_date(2023, 12, 31)), encode_date(2024, 1, 1));
}

TEST(Date, AddMonthsKeepsTheDayWithinTheTargetMonthAndTheTime) {
  EXPECT_EQ(add_months(encode_date(2024, 1, 31), 1), encode_date(2024, 2, 29));
  EXPECT_EQ(add_months(encode_date(2024, 3, 31), -1), encode_date(2024, 2, 29));
  EXPECT_EQ(add_months(encode_date(2023, 11, 15), 14), encode_date(2025, 1, 15));
  EXPECT_EQ(add_months(encode_date(2023, 1, 15), -13), encode_date(2021, 12, 15));
  EXPECT_EQ(add_months(encode_date(2023, 1, 15) + 0.25, 1), encode_date(2023, 2, 15) + 0.25);
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

TEST(Date, Texts) {
  TDateTime d = encode_date(2024, 3, 5) + encode_time(7, 8, 9, 999);
  EXPECT_EQ(date_text(d), "05.03.2024");
  EXPECT_EQ(time_text(d), "07:08:09");
  EXPECT_EQ(datetime_text(d), "05.03.2024 07:08:09");
  EXPECT_EQ(time_text(encode_date(2024, 3, 5) + 0.99999999999), "23:59:59");
}

TEST(Date, ParsesBothDateForms) {
  EXPECT_EQ(parse_date("05.03.2024"), encode_date(2024, 3, 5));
  EXPECT_EQ(parse_date("2024-03-05"), encode_date(2024, 3, 5));
  EXPECT_FALSE(parse_date("31.02.2024"));
  EXPECT_FALSE(parse_date("5.3.2024"));
  EXPECT_FALSE(parse_date("05.03.2024x"));
  EXPECT_FALSE(parse_date(""));
}

TEST(Date, NowIsTodayWithATimeOfDay) {
  TDateTime before = today();
  TDateTime n = now();
  EXPECT_GE(n, before);
  EXPECT_LT(n, today() + 1);
  EXPECT_EQ(date_of(n), std::trunc(n));
}
