// "HRDOC090" and "HRDOC090L" through main_dll: the protocol of planned vacations in a period,
// read back line by line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reports/vacation/schedule_fixture.h"

namespace {

using hrdoc::test::no_marks;
using hrdoc::text::encode_date;
using Lines = std::vector<std::vector<std::string>>;

constexpr int kPeriodRow = 3, kStampRow = 4, kFirstLine = 7, kColumns = 3;

class Hrdoc090 : public hrdoc::test::ScheduleFixture {
 protected:
  void SetUp() override {
    ScheduleFixture::SetUp();
    set_period(encode_date(2026, 12, 5), encode_date(2026, 12, 1), encode_date(2026, 12, 31));
    staff();  // 203 is off the payroll
    plan(200, 2026, "2026-12-01", 14);  // the period's first day
    plan(200, 2026, "2026-12-31", 7);   // and its last
    plan(201, 2026, "2026-11-30", 7);   // the day before
    plan(201, 2026, "2027-01-01", 7);   // the day after
    plan(201, 2026, "2026-12-14", 14);
    plan(202, 2026, "2026-12-07", 14);
    plan(202, 2027, "2026-12-28", 14);  // next year's schedule: not the payroll year
    plan(203, 2026, "2026-12-14", 14);
  }

  Lines lines() { return lines_from(kFirstLine, kColumns); }
};

TEST_F(Hrdoc090, lists_the_periods_parts_of_the_department_by_name_and_date) {
  const Lines all = {{"Бухгалтерия предприятия", "Абрамова Анна Андреевна", "07.12.2026"},
                     {"Механический цех № 1", "Иванов Иван Иванович", "01.12.2026"},
                     {"Механический цех № 1", "Иванов Иван Иванович", "31.12.2026"},
                     {"Участок сборки цеха № 1", "Петров Пётр Петрович", "14.12.2026"}};
  struct Case {
    int department;
    Lines expected;
  };
  const Case cases[] = {{0, all}, {10, {all[1], all[2], all[3]}}, {11, {all[3]}}, {20, {all[0]}}};
  for (const Case& c : cases) {
    set_department(c.department, "");
    ASSERT_EQ(run("HRDOC090"), 0);
    EXPECT_EQ(lines(), c.expected) << "department " << c.department;
  }
  const auto& s = result();
  EXPECT_TRUE(no_marks(s));
  EXPECT_EQ(s.text(kPeriodRow, 1), "с 01.12.2026 по 31.12.2026");
  EXPECT_EQ(s.text(kStampRow, 2).substr(0, 10), hrdoc::text::date_text(hrdoc::text::today()));
  EXPECT_EQ(s.text(kFirstLine - 1, 3), "Дата отпуска");
  EXPECT_EQ(ui().windows.back().caption,
            "Печать протокола проверки сотрудников, имеющих дату отпуска по графику в заданном интервале");
  EXPECT_EQ(ui().forms.size(), 4u);  // the parameter dialog of every run
}

TEST_F(Hrdoc090, the_L_form_skips_the_dialog_when_given_an_integer) {
  ASSERT_EQ(run("HRDOC090L", 1), 0);
  EXPECT_TRUE(ui().forms.empty());
  EXPECT_EQ(lines().size(), 4u);
  ASSERT_EQ(run("HRDOC090L", 0), 0);
  EXPECT_EQ(ui().forms.size(), 1u);
  EXPECT_EQ(ui().documents.size(), 2u);
}

}  // namespace
