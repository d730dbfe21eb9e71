// The service-length calculator: DiffYMD on its own, the carries of a slot, and CalcStage over
// periods inserted into a fresh database.
#include <gtest/gtest.h>

#include <string>

#include "calc/uosrv200.h"
#include "support/test_context.h"
#include "support/test_database.h"
#include "text/date.h"

namespace {

using hrdoc::DiffYMD;
using hrdoc::TStageDate;
using hrdoc::TStageResult;
using hrdoc::TStageSpan;

struct Ymd {
  int y, m, d;
  bool operator==(const Ymd&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Ymd& v) { return os << v.y << "y " << v.m << "m " << v.d << "d"; }

Ymd of(TStageSpan s) { return {s.years(), s.months(), s.days()}; }

TEST(DiffYMD, counts_years_months_and_days_between_two_dates_scaled) {
  struct Case {
    int y1, m1, d1, y2, m2, d2;
    double k;
    Ymd expected;
  };
  const Case cases[] = {
      // The worked example, with coefficients 1 and 1.5; the dates may come in either order.
      {2001, 3, 15, 2003, 2, 10, 1, {1, 10, 26}}, {2001, 3, 15, 2003, 2, 10, 1.5, {2, 4, 11}},
      {2003, 2, 10, 2001, 3, 15, 1.5, {2, 4, 11}}, {2010, 6, 1, 2010, 6, 1, 3, {0, 0, 0}},
      // The end day is not counted.
      {2000, 1, 1, 2000, 12, 31, 1, {0, 11, 30}}, {2000, 1, 1, 2001, 1, 1, 1, {1, 0, 0}},
      // A begin month borrows its own length: leap Februaries, 2001's, March, April.
      {2000, 2, 15, 2000, 3, 10, 1, {0, 0, 24}}, {2004, 2, 15, 2004, 3, 10, 1, {0, 0, 24}},
      {2001, 2, 15, 2001, 3, 10, 1, {0, 0, 23}}, {2001, 3, 31, 2001, 4, 1, 1, {0, 0, 1}},
      {2001, 4, 30, 2001, 5, 1, 1, {0, 0, 1}},
      // Scaling truncates each part without carrying fractions down (30 days: January has 31).
      {2000, 1, 1, 2003, 1, 1, 1.5, {4, 0, 0}}, {2001, 1, 1, 2001, 12, 1, 1.5, {1, 4, 0}},
      {2001, 1, 1, 2001, 1, 21, 1.5, {0, 0, 30}}, {2001, 1, 1, 2001, 1, 21, 0.5, {0, 0, 10}},
      {2001, 1, 1, 2009, 1, 1, 0, {0, 0, 0}},
      // 1 year 0 months 22 days x 1.5: 33 days carry against the earlier year's February.
      {2001, 1, 10, 2002, 2, 1, 1.5, {1, 1, 5}}, {2004, 1, 10, 2005, 2, 1, 1.5, {1, 1, 4}},
  };
  for (const auto& c : cases) {
    Ymd r{};
    DiffYMD(TStageDate::pack(c.y1, c.m1, c.d1), TStageDate::pack(c.y2, c.m2, c.d2), r.y, r.m, r.d, c.k);
    EXPECT_EQ(r, c.expected) << c.d1 << "." << c.m1 << "." << c.y1 << "-" << c.d2 << "." << c.m2 << "." << c.y2 << " x" << c.k;
  }
}

TEST(TStageDate, packs_the_representable_years_and_compares_across_1980) {
  EXPECT_EQ(TStageDate::pack(1916, 1, 1).year(), 1916);
  EXPECT_EQ(TStageDate::pack(2043, 12, 31).year(), 2043);
  const TStageDate d = TStageDate::pack(1979, 12, 31);
  EXPECT_EQ(d.year(), 1979);
  EXPECT_EQ(d.month(), 12);
  EXPECT_EQ(d.day(), 31);
  EXPECT_TRUE(d < TStageDate::pack(1980, 1, 1));
  EXPECT_FALSE(TStageDate::pack(2043, 1, 1) < TStageDate::pack(1916, 12, 31));
  // Outside the range the date is held at its edge rather than wrapped.
  EXPECT_EQ(TStageDate::pack(1900, 5, 5), TStageDate::pack(1916, 1, 1));
  EXPECT_EQ(TStageDate::pack(2050, 5, 5), TStageDate::pack(2043, 12, 31));
}

TEST(TStageSpan, days_carry_at_30_months_at_12_in_any_order_and_years_stop_at_63) {
  TStageSpan s;
  s.add(0, 0, 20);
  s.add(0, 0, 20);
  EXPECT_EQ(of(s), (Ymd{0, 1, 10}));

  const Ymd parts[] = {{1, 11, 29}, {0, 7, 30}, {2, 5, 3}, {0, 0, 28}};
  TStageSpan forward, backward;
  for (const auto& p : parts) forward.add(p.y, p.m, p.d);
  for (int i = 3; i >= 0; --i) backward.add(parts[i].y, parts[i].m, parts[i].d);
  // 90 days -> 3 months 0 days; 23 + 3 months -> 2 years 2 months; 3 + 2 years.
  EXPECT_EQ(of(forward), (Ymd{5, 2, 0}));
  EXPECT_EQ(of(backward), of(forward));
  // 64 years and more would read negative in 7 signed bits: the slot stays at its longest.
  TStageSpan y;
  y.add(63, 0, 0);
  EXPECT_EQ(of(y), (Ymd{63, 0, 0}));
  y.add(0, 11, 29);
  EXPECT_EQ(of(y), (Ymd{63, 11, 29}));
  y.add(0, 0, 1);
  EXPECT_EQ(of(y), (Ymd{63, 11, 29}));
  TStageSpan big;
  big.add(67, 6, 0);
  EXPECT_EQ(of(big), (Ymd{63, 11, 29}));
  big.add(1, 0, 0);
  EXPECT_EQ(of(big), (Ymd{63, 11, 29}));
}

// CalcStage over KDT2ITK rows of a fresh database.
class CalcStageTest : public ::testing::Test {
 protected:
  CalcStageTest() : ctx_(db_.connection()) {}

  // One period of KP; kinds maps a kind code to its coefficient ("NULL" for an empty one).
  void period(int kp, const std::string& dto, const std::string& dtu, int kind, const std::string& kf = "1",
              int book = 1) {
    static int unsd = 0;
    const std::string k = std::to_string(kind);
    db_.connection().execute("insert into KDT2ITK (UNSD, KP, BOOK, DTO, DTU, TSTG" + k + ", KF" + k + ") values (" +
                             std::to_string(++unsd) + ", " + std::to_string(kp) + ", " + std::to_string(book) + ", " +
                             (dto.empty() ? "NULL" : "'" + dto + "'") + ", " +
                             (dtu.empty() ? "NULL" : "'" + dtu + "'") + ", 1, " + kf + ")");
  }
  TStageResult calc(int kp, TDateTime from, TDateTime to) {
    TStageResult r;
    r.fill(TStageSpan{});
    r[3].add(9, 9, 9);  // the calculator clears what the caller left
    hrdoc::CalcStage(kp, from, to, r);
    return r;
  }
  static TDateTime date(int y, int m, int d) { return hrdoc::text::encode_date(y, m, d); }

  hrdoc::test::TestDatabase db_;
  hrdoc::test::TestContext ctx_;
};

TEST_F(CalcStageTest, periods_outside_the_book_unflagged_or_of_zero_length_give_eight_zero_slots) {
  period(7, "2000-01-01", "2005-01-01", 16, "1", 0);
  period(7, "2000-01-01", "2005-01-01", 16, "1", 2);
  db_.connection().execute(
      "insert into KDT2ITK (UNSD, KP, BOOK, DTO, DTU, TSTG16, KF16) values (900, 7, 1, '2000-01-01', '2010-01-01', 0, 1)");
  period(7, "2005-05-05", "2005-05-05", 16);
  for (int kp : {7, 8})
    for (const auto& s : calc(kp, 0, date(2020, 1, 1))) EXPECT_EQ(s.bits, 0) << kp;
  EXPECT_TRUE(ctx_.ui.boxes.empty());
}

TEST_F(CalcStageTest, each_kind_goes_to_its_own_slot_and_slot_seven_stays_zero) {
  for (int i = 0; i < 7; ++i) period(1, "2000-01-01", "2001-01-01", 1 << i, std::to_string(i + 1));
  const TStageResult r = calc(1, 0, date(2020, 1, 1));
  for (int i = 0; i < 7; ++i) EXPECT_EQ(of(r[i]), (Ymd{i + 1, 0, 0})) << "slot " << i;
  EXPECT_EQ(r[7].bits, 0);
}

TEST_F(CalcStageTest, periods_are_clipped_to_date_from_and_date_to) {
  period(1, "2010-03-15", "", 16);            // open: 15.03.2010 .. 10.02.2012
  period(1, "2000-01-01", "2030-01-01", 1);   // ends after dateTo
  period(1, "2012-02-11", "2013-01-01", 16);  // begins after dateTo
  TStageResult r = calc(1, 0, date(2012, 2, 10));
  EXPECT_EQ(of(r[4]), (Ymd{1, 10, 26}));
  EXPECT_EQ(of(r[0]), (Ymd{12, 1, 9}));
  period(2, "1990-01-01", "2005-06-01", 16);  // counted from 01.01.2005: 5 months
  period(2, "1990-01-01", "2004-12-31", 16);  // ended before dateFrom
  period(2, "2006-01-01", "2006-01-21", 16);  // begins after dateFrom: its own 20 days
  r = calc(2, date(2005, 1, 1), date(2010, 1, 1));
  EXPECT_EQ(of(r[4]), (Ymd{0, 5, 20}));
}

TEST_F(CalcStageTest, overlaps_count_in_full_and_coefficients_scale_or_add_nothing) {
  period(1, "2001-01-01", "2001-01-21", 16);
  period(1, "2001-01-01", "2001-01-21", 16);  // days carry at 30
  period(1, "2000-01-01", "2002-01-01", 2);
  period(1, "2001-01-01", "2003-01-01", 2);
  period(1, "2001-03-15", "2003-02-10", 32, "1.5");
  period(1, "2001-01-01", "2001-12-01", 4, "1.5");
  period(1, "2001-01-01", "2009-01-01", 8, "NULL");
  period(1, "2001-01-01", "2009-01-01", 8, "0");
  period(1, "2001-01-01", "2009-01-01", 64, "-1");
  const TStageResult r = calc(1, 0, date(2020, 1, 1));
  EXPECT_EQ(of(r[4]), (Ymd{0, 1, 10}));
  EXPECT_EQ(of(r[1]), (Ymd{4, 0, 0}));
  EXPECT_EQ(of(r[5]), (Ymd{2, 4, 11}));
  EXPECT_EQ(of(r[2]), (Ymd{1, 4, 0}));
  EXPECT_EQ(r[3].bits, 0);
  EXPECT_EQ(r[6].bits, 0);
}

TEST_F(CalcStageTest, the_statement_is_prepared_once_for_all_employees) {
  for (int kp = 1; kp <= 5; ++kp) period(kp, "2000-01-01", "", 16);
  calc(1, 0, date(2020, 1, 1));
  const auto prepared = db_.connection().prepare_count();
  for (int kp = 2; kp <= 5; ++kp) EXPECT_EQ(calc(kp, 0, date(2020, 1, 1))[4].years(), 20);
  EXPECT_EQ(db_.connection().prepare_count(), prepared);
}

TEST_F(CalcStageTest, a_database_error_is_shown_and_the_call_returns_normally) {
  period(1, "2000-01-01", "2001-01-01", 16);
  db_.connection().execute("alter table KDT2ITK drop KF64");
  const TStageResult r = calc(1, 0, date(2020, 1, 1));
  for (const auto& s : r) EXPECT_EQ(s.bits, 0);
  ASSERT_EQ(ctx_.ui.boxes.size(), 1u);
  EXPECT_EQ(ctx_.ui.boxes[0].caption, "Ошибка");
  EXPECT_NE(ctx_.ui.boxes[0].text.find("KF64"), std::string::npos) << ctx_.ui.boxes[0].text;
}

}  // namespace
