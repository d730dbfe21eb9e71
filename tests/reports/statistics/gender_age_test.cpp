// "HRDOC060", "HRDOC070" and "HRDOC120" through main_dll on the statistics fixture database; the
// finished books are read back cell by cell.
#include <gtest/gtest.h>

#include <string>

#include "reports/statistics/statistics_fixture.h"

namespace {

using hrdoc::test::kD;
using hrdoc::test::Lines;
using hrdoc::test::no_marks;

// Where the finished forms have their lines (the mark column is gone).
constexpr int kLines0607 = 7, kLines120 = 3;

class GenderAge : public hrdoc::test::StatisticsFixture {};

TEST_F(GenderAge, hrdoc060_counts_the_latest_finished_education_by_department_in_tree_order) {
  ASSERT_EQ(run("HRDOC060", kD + 0.75, 0), 0);
  EXPECT_EQ(ctx().D, kD);  // the time of day is gone for the rest of the run

  const auto& s = result();
  EXPECT_EQ(s.text(1, 1),
            "Состав специалистов с высшим и средним специальным образованием по полу  АО \"Заря\" на 05.12.2026");
  EXPECT_TRUE(no_marks(s));
  // Columns: higher, secondary special (codes 3, 4, 28), other; each all and women ("Ж" only).
  EXPECT_EQ(lines(s, kLines0607, 7), (Lines{{"Бухгалтерия", "1", "1", "1", "0", "0", "0"},
                                            {"Цех № 1", "1", "0", "2", "1", "1", "0"},
                                            {"Цех № 1, Участок", "1", "1", "1", "0", "0", "0"},
                                            {"Итого", "3", "2", "4", "1", "1", "0"}}));
  ASSERT_EQ(ui().windows.size(), 1u);
  EXPECT_EQ(ui().windows[0].caption, "Состав специалистов по полу ");
  EXPECT_EQ(ui().windows[0].statuses.front(), "Подготовка информации");
  EXPECT_TRUE(ui().boxes.empty());
}

TEST_F(GenderAge, hrdoc070_counts_ages_at_the_date_men_and_women_apart) {
  ASSERT_EQ(run("HRDOC070", kD, 0), 0);
  const auto& s = result();
  EXPECT_EQ(s.text(1, 1), "Возрастная структура работников   АО \"Заря\" на 05.12.2026");
  // 18-29, 30-45, 46-50, 51-55, 56-60, 61+; men (and anyone not "Ж") then women. Not counted:
  // 17 years, no birth date, a part-timer, a salary of 0.05 and a dismissal on the date.
  EXPECT_EQ(lines(s, kLines0607, 13),
            (Lines{{"Бухгалтерия", "1", "0", "0", "0", "0", "1", "0", "0", "0", "0", "0", "0"},
                   {"Цех № 1", "0", "1", "1", "0", "1", "0", "0", "0", "0", "0", "0", "0"},
                   {"Цех № 1, Участок", "0", "1", "0", "0", "0", "0", "0", "0", "0", "0", "1", "0"},
                   {"ВСЕГО", "1", "2", "1", "0", "1", "1", "0", "0", "0", "0", "1", "0"}}));
  EXPECT_EQ(ui().windows.at(0).max, 9);  // one row per employee counted or not
}

TEST_F(GenderAge, hrdoc070_for_a_department_names_it_in_the_title_and_leaves_the_top_out_of_captions) {
  ASSERT_EQ(run("HRDOC070", kD, 10), 0);
  const auto& s = result();
  // The enterprise's name and the full name of the top of the department's tree.
  EXPECT_EQ(s.text(1, 1), "Возрастная структура работников   АО \"Заря\", Акционерное общество \"Заря\" на 05.12.2026");
  const Lines got = lines(s, kLines0607, 1);
  EXPECT_EQ(got, (Lines{{"Цех № 1"}, {"Участок"}, {"ВСЕГО"}}));
}

TEST_F(GenderAge, without_rows_060_and_070_write_an_empty_line_of_zeros_and_the_total) {
  for (const char* command : {"HRDOC060", "HRDOC070"}) {
    ASSERT_EQ(run(command, kD, 30), 0) << command;  // the store has nobody
    const auto& s = result();
    const Lines got = lines(s, kLines0607, 4);
    ASSERT_EQ(got.size(), 2u) << command;
    EXPECT_EQ(got[0], (hrdoc::test::Line{"", "0", "0", "0"})) << command;
    EXPECT_EQ(got[1][1], "0") << command;
  }
  EXPECT_TRUE(ui().boxes.empty());
}

TEST_F(GenderAge, hrdoc120_counts_calendar_years_for_each_department_with_staff) {
  ctx().replace_kpsew({});
  ASSERT_EQ(run("HRDOC120", kD, 1), 0);
  const auto& s = result();
  EXPECT_EQ(s.text(1, 1),
            "Половозрастная структура сотрудников подразделения Акционерное общество \"Заря\" на 05.12.2026");
  EXPECT_EQ(s.text(2, 1), "Подразделение");
  EXPECT_TRUE(no_marks(s));
  // Men: до 25, 25-30, 31-35, 36-40, 41-45, 46-50, 51-55, 56+; women: до 25 ... 46-50, 51+;
  // the sum. "Гараж" (only dismissals) and "Склад" (nobody) have no line. The part-timer, the
  // salary of 0.05 and the dismissal on the date count; anyone not "М" is a woman.
  EXPECT_EQ(lines(s, kLines120, 17),
            (Lines{{"Бухгалтерия", "", "1", "", "", "", "", "", "", "", "", "", "", "", "", "1", "2"},
                   {"Цех № 1", "1", "1", "", "1", "", "", "", "1", "", "1", "", "", "", "1", "2", "8"},
                   {"Цех № 1::Участок", "", "", "", "", "", "", "", "1", "1", "", "", "", "", "", "", "2"},
                   {"Итого по Акционерное общество \"Заря\"", "1", "2", "", "1", "", "", "", "2", "1", "1", "", "",
                    "", "1", "3", "12"}}));
  ASSERT_EQ(ui().windows.size(), 1u);
  const auto& w = ui().windows[0];
  EXPECT_EQ(w.caption, "Печать \"Половозрастная структура новая\" (Ф.ex.26)");
  EXPECT_EQ(w.statuses.back(), "Подготовка формы... Ok");
  EXPECT_EQ(w.max, 5);
  EXPECT_EQ(w.position, 5);
  EXPECT_TRUE(ui().boxes.empty());
}

TEST_F(GenderAge, hrdoc120_takes_the_departments_from_the_set_and_a_set_without_staff_has_no_total) {
  ctx().replace_kpsew({10});
  ASSERT_EQ(run("HRDOC120", kD, 10), 0);
  const Lines got = lines(result(), kLines120, 1);
  EXPECT_EQ(got, (Lines{{"Цех № 1"}, {"Цех № 1::Участок"}, {"Итого по Механический цех № 1"}}));

  ctx().replace_kpsew({30});
  ASSERT_EQ(run("HRDOC120", kD, 10), 0);
  EXPECT_EQ(result().last_row(), kLines120 - 1);
  EXPECT_TRUE(ui().boxes.empty());
}

TEST_F(GenderAge, a_failing_statement_leaves_060_and_070_silent_and_shows_120s_error_each_with_a_book) {
  exec("drop table ZPADS1");
  ctx().replace_kpsew({});
  for (const char* command : {"HRDOC060", "HRDOC070"}) {
    const size_t before = ui().documents.size();
    ASSERT_EQ(run(command, kD, 0), 0) << command;
    EXPECT_EQ(ui().documents.size(), before + 1) << command;
    EXPECT_EQ(result().last_row(), kLines0607 - 1) << command;  // the header only
  }
  EXPECT_TRUE(ui().boxes.empty());

  ASSERT_EQ(run("HRDOC120", kD, 1), 0);
  ASSERT_EQ(ui().boxes.size(), 1u);
  EXPECT_EQ(ui().boxes[0].caption, "Ошибка");
  EXPECT_NE(ui().boxes[0].text.find("ZPADS1"), std::string::npos) << ui().boxes[0].text;
  EXPECT_EQ(ui().documents.size(), 3u);
  EXPECT_EQ(result().last_row(), kLines120 - 1);
}

}  // namespace
