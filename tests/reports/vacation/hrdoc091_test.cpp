// "HRDOC091" through main_dll on fixture databases; the finished list is read back cell by cell.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reports/vacation/schedule_fixture.h"

namespace {

using hrdoc::test::no_marks;
using hrdoc::text::encode_date;
using Line = std::vector<std::string>;
using Lines = std::vector<Line>;

// Where the finished list has its values (the mark column is gone).
constexpr int kTitleRow = 2, kMonthRow = 3, kMonthCol = 3;
constexpr int kFirstLine = 6, kColumns = 5;

class Hrdoc091 : public hrdoc::test::ScheduleFixture {
 protected:
  void SetUp() override {
    ScheduleFixture::SetUp();
    set_period(encode_date(2026, 12, 5), encode_date(2026, 12, 1), encode_date(2026, 12, 31));
    staff();  // 203 is off the payroll
  }

  Lines lines() { return lines_from(kFirstLine, kColumns); }
};

TEST_F(Hrdoc091, whole_enterprise_lists_the_month_numbered_by_department_and_name) {
  plan(200, 2026, "2026-12-21", 14);
  plan(200, 2026, "2026-12-07", 7);   // two parts in the month: two numbered lines
  plan(201, 2026, "2026-12-14", 14);
  plan(202, 2026, "2026-12-01", 28);
  plan(203, 2026, "2026-12-14", 14);
  plan(201, 2026, "2026-11-30", 7);   // the month before
  plan(202, 2026, "2027-01-04", 14);  // the month after
  plan(202, 2027, "2026-12-28", 14);  // dated in the month, but in next year's schedule
  ASSERT_EQ(run("HRDOC091"), 0);

  const auto& s = result();
  EXPECT_EQ(s.text(1, 1), "ГРАФИК");
  // The whole enterprise is named by the root of the tree, never left blank.
  EXPECT_EQ(s.text(kTitleRow, 1), "отпусков работников подразделения Предприятие");
  EXPECT_EQ(s.text(kMonthRow, kMonthCol), "ДЕКАБРЬ");
  EXPECT_EQ(s.text(kFirstLine - 1, 2), "Фамилия, имя, отчество");
  EXPECT_TRUE(no_marks(s));
  EXPECT_EQ(lines(), (Lines{{"1", "Абрамова Анна Андреевна", "Бухгалтер", "Бухгалтерия предприятия", "01.12.2026"},
                            {"2", "Иванов Иван Иванович", "Токарь", "Механический цех № 1", "07.12.2026"},
                            {"3", "Иванов Иван Иванович", "Токарь", "Механический цех № 1", "21.12.2026"},
                            {"4", "Петров Пётр Петрович", "Токарь", "Участок сборки цеха № 1", "14.12.2026"}}));
  ASSERT_EQ(ui().windows.size(), 1u);
  const auto& w = ui().windows[0];
  EXPECT_EQ(w.caption, "Печать графика отпусков");
  EXPECT_EQ(w.statuses.front(), "Подготовка формы для печати...");
  EXPECT_EQ(w.statuses.back(), "Печать данных: Петров Пётр Петрович");
  EXPECT_EQ(w.max, 4);
  EXPECT_EQ(w.position, 4);
  EXPECT_TRUE(ui().boxes.empty());  // no questions of its own
}

TEST_F(Hrdoc091, department_is_named_in_the_title_and_bounds_the_list_and_a_month_without_plans_is_empty) {
  set_department(10, "Цех № 1");
  set_period(encode_date(2027, 3, 31), encode_date(2027, 1, 1), encode_date(2027, 12, 31));
  plan(200, 2027, "2027-03-01", 14);
  plan(201, 2027, "2027-03-31", 14);
  plan(202, 2027, "2027-03-15", 14);
  ASSERT_EQ(run("HRDOC091"), 0);

  const auto& s = result();
  EXPECT_EQ(s.text(kTitleRow, 1), "отпусков работников подразделения Цех № 1");
  EXPECT_EQ(s.text(kMonthRow, kMonthCol), "МАРТ");
  EXPECT_EQ(lines(), (Lines{{"1", "Иванов Иван Иванович", "Токарь", "Механический цех № 1", "01.03.2027"},
                            {"2", "Петров Пётр Петрович", "Токарь", "Участок сборки цеха № 1", "31.03.2027"}}));

  // A month without plans gives the header only.
  set_period(encode_date(2027, 4, 30), encode_date(2027, 1, 1), encode_date(2027, 12, 31));
  ASSERT_EQ(run("HRDOC091"), 0);
  ASSERT_EQ(ui().documents.size(), 2u);
  const auto& empty = result();
  EXPECT_EQ(empty.text(kMonthRow, kMonthCol), "АПРЕЛЬ");
  EXPECT_EQ(empty.last_row(), kFirstLine - 1);
  EXPECT_TRUE(no_marks(empty));
  EXPECT_EQ(ui().windows.back().max, 0);
}

TEST_F(Hrdoc091, missing_template_is_named_and_nothing_is_written) {
  plan(200, 2026, "2026-12-07", 14);
  ctx().ext().template_dir = work_dir().string() + "/no-templates/";
  ASSERT_EQ(run("HRDOC091"), 0);

  ASSERT_EQ(ui().boxes.size(), 1u);
  EXPECT_EQ(ui().boxes[0].caption, "Ошибка");
  EXPECT_NE(ui().boxes[0].text.find("/no-templates/HRDOC091.xlsx"), std::string::npos) << ui().boxes[0].text;
  EXPECT_TRUE(ui().documents.empty());
  EXPECT_TRUE(ui().windows.at(0).closed);
}

}  // namespace
