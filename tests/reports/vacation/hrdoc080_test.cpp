// "HRDOC080" through main_dll: vacation days earned since the latest hiring, used by the orders
// since then, and the rest, line by line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reports/vacation/schedule_fixture.h"

namespace {

using hrdoc::text::encode_date;
using Lines = std::vector<std::vector<std::string>>;

constexpr int kFirstLine = 4, kColumns = 7;

class Hrdoc080 : public hrdoc::test::ScheduleFixture {
 protected:
  void SetUp() override {
    ScheduleFixture::SetUp();
    set_period(encode_date(2026, 12, 5), encode_date(2026, 12, 1), encode_date(2026, 12, 31));
    chain(10, {});
    chain(11, {10});
    chain(20, {});
    const struct {
      int kp, owner;
      const char* name;
    } people[] = {{300, 10, "Алексеев Андрей Андреевич"},     {301, 11, "Борисов Борис Борисович"},
                  {302, 20, "Васильев Василий Васильевич"},   {303, 10, "Григорьев Григорий Григорьевич"},
                  {304, 10, "Дмитриев Дмитрий Дмитриевич"},   {305, 10, "Егоров Егор Егорович"}};
    for (const auto& p : people) employee(p.kp, p.owner, p.kp, std::string(p.name).substr(0, 10), p.name, 3);
    record(300, "2026-12-05", 21, 10);  // hired on the report date
    record(301, "2025-07-05", 21, 11);  // 1 year 5 months
    record(302, "2025-01-01", 21, 20);  // 1 year 11 months
    record(303, "2010-02-01", 21, 10);  // re-hired: counted from the latest hiring
    record(303, "2015-03-01", 121, 10);
    record(303, "2025-12-05", 21, 10);
    record(304, "2016-12-05", 21, 10);  // two hirings without a dismissal: a line each
    record(304, "2021-12-05", 21, 10);
    record(305, "2015-01-01", 21, 10);  // dismissed
    record(305, "2020-01-01", 121, 10);
    used(301, "2025-06-01", 7);   // before the hiring
    used(301, "2026-03-01", 14);
    used(301, "2026-12-10", 14);  // after the report date
    used(302, "2025-08-01", 28);
    used(302, "2026-06-01", 32);  // more than earned
    used(303, "2012-07-01", 28);  // the earlier stint
    used(304, "2019-06-01", 28);
  }

  void used(int kp, const char* start, int days) { order({kp, start, start, days}); }

  Lines lines() { return lines_from(kFirstLine, kColumns); }
};

TEST_F(Hrdoc080, earns_28_days_a_year_month_by_month_and_subtracts_the_orders) {
  const Lines all = {
      {"1", "Алексеев Андрей Андреевич", "05.12.2026", "0 лет 0 месяцев", "0", "0", "0"},
      {"2", "Борисов Борис Борисович", "05.07.2025", "1 лет 5 месяцев", "39", "14", "25"},
      {"3", "Васильев Василий Васильевич", "01.01.2025", "1 лет 11 месяцев", "53", "60", "-7"},
      {"4", "Григорьев Григорий Григорьевич", "05.12.2025", "0 лет 11 месяцев", "25", "0", "25"},
      {"5", "Дмитриев Дмитрий Дмитриевич", "05.12.2021", "4 лет 11 месяцев", "137", "0", "137"},
      {"6", "Дмитриев Дмитрий Дмитриевич", "05.12.2016", "9 лет 11 месяцев", "277", "28", "249"},
  };
  ASSERT_EQ(run("HRDOC080"), 0);
  EXPECT_EQ(lines(), all);
  EXPECT_TRUE(hrdoc::test::no_marks(result()));
  EXPECT_EQ(result().text(kFirstLine - 1, 7), "Остаток");

  // A department counts its own staff and that of the units below it.
  set_department(10, "Цех № 1");
  ASSERT_EQ(run("HRDOC080"), 0);
  Lines department;
  for (size_t i : {0, 1, 3, 4, 5}) {
    department.push_back(all[i]);
    department.back()[0] = std::to_string(department.size());
  }
  EXPECT_EQ(lines(), department);
  EXPECT_EQ(result().text(1, 1), "Использование отпуска Предприятие, Цех № 1 НА 05.12.2026");
  EXPECT_EQ(ui().windows.back().caption, "Справка по неиспользованным дням отпуска");
}

}  // namespace
