// "HRDOC130" and "HRDOC140" through main_dll on the education fixture database: a heading per
// department of the set, a line per employee in the list order asked for.
#include <gtest/gtest.h>

#include <string>

#include "reports/statistics/education_fixture.h"

namespace {

using hrdoc::test::Lines;
using hrdoc::test::no_marks;

constexpr int kLines130 = 4, kLines140 = 6;

class StaffLists : public hrdoc::test::EducationFixture {};

TEST_F(StaffLists, hrdoc130_lists_contracts_and_hire_dates_by_personnel_number) {
  ASSERT_EQ(run_list("HRDOC130", {}, 1), 0);
  const auto& s = result();
  EXPECT_EQ(s.text(1, 1), "Ф.ex.25");
  EXPECT_EQ(s.text(2, 1), "Сведения о договорах по сотрудникам Акционерное общество \"Заря\" на 05.12.2026");
  EXPECT_TRUE(no_marks(s));
  // Left out: the card with PSTS (Орлова), the dismissal on the date (Ильин). Without a contract
  // "№  от "; the transferee (Морозов) has no hire order. "Склад" has nobody: no heading.
  EXPECT_EQ(lines(s, kLines130, 5),
            (Lines{{"Бухгалтерия", "", "", "", ""},
                   {"1", "Морозов Максим Игоревич", "№  от", "", ""},
                   {"2", "Сидоров", "№ ТД-203 от 10.01.2000", "10.01.2000", "10.01.2000"},
                   {"Цех № 1", "", "", "", ""},
                   {"3", "Андреев Андрей Андреевич", "№ ТД-1 от 02.03.2015", "02.03.2015", "02.03.2015"},
                   {"4", "Борисова Мария Петровна", "№ ТД-2 от 10.05.2016", "10.05.2016", "10.05.2016"},
                   {"5", "Васильев Пётр", "№  от", "", "01.09.2025"},
                   {"6", "Григорьева Ольга Ивановна", "№  от", "", "02.02.2026"},
                   {"7", "Дмитриев Олег Юрьевич", "№  от", "", "01.06.2026"},
                   {"8", "Егоров Егор Егорович", "№  от", "", "10.01.2020"},
                   {"9", "Жуков Иван Сергеевич", "№  от", "", "13.01.2010"},
                   {"Цех № 1::Участок", "", "", "", ""},
                   {"10", "Лебедева Лариса Николаевна", "№  от", "", "01.04.2021"}}));
  EXPECT_EQ(s.text(kLines130 + 1, 3), "№  от ");
  ASSERT_EQ(ui().windows.size(), 1u);
  const auto& w = ui().windows[0];
  EXPECT_EQ(w.caption, "Печать \"Сведения о договорах по сотрудникам\" (Ф.ex.25)");
  EXPECT_EQ(w.statuses.back(), "Подготовка формы... Ok");
  EXPECT_EQ(w.max, 4);
  EXPECT_TRUE(ui().boxes.empty());
}

TEST_F(StaffLists, hrdoc140_splits_names_and_joins_education_records_with_carriage_returns) {
  ASSERT_EQ(run_list("HRDOC140", {20, 10}, 0), 0);
  const auto& s = result();
  EXPECT_EQ(s.text(1, 1), "Ф.ех.24");
  EXPECT_EQ(s.text(2, 1), "Акционерное общество \"Заря\"");
  EXPECT_EQ(s.text(3, 1), "Список сотрудников подразделения Акционерное общество \"Заря\" на 05.12.2026");
  const Lines got = lines(s, kLines140, 10);
  // By name. The dismissal on the date (Ильин) and the card with PSTS (Орлова) are listed.
  Lines names;
  for (const auto& line : got) names.push_back({line[0], line[1], line[2], line[3]});
  EXPECT_EQ(names, (Lines{{"Бухгалтерия", "", "", ""},
                          {"1", "Морозов", "Максим", "Игоревич"},
                          {"2", "Орлова", "Ольга", "Олеговна"},
                          {"3", "", "", "Сидоров"},  // one word: the patronymic
                          {"Цех № 1", "", "", ""},
                          {"4", "Андреев", "Андрей", "Андреевич"},
                          {"5", "Борисова", "Мария", "Петровна"},
                          {"6", "Васильев", "", "Пётр"},  // two words: no first name
                          {"7", "Григорьева", "Ольга", "Ивановна"},
                          {"8", "Дмитриев", "Олег", "Юрьевич"},
                          {"9", "Егоров", "Егор", "Егорович"},
                          {"10", "Жуков", "Иван", "Сергеевич"},
                          {"11", "Ильин", "Илья", "Ильич"},
                          {"Цех № 1::Участок", "", "", ""},
                          {"12", "Лебедева", "Лариса", "Николаевна"}}));
  // Two records in KTZO order, each a line of its own cell; a speciality line ends with ";".
  EXPECT_EQ(got[5], (hrdoc::test::Line{"4", "Андреев", "Андрей", "Андреевич", hrdoc::text::date_text(
                                           hrdoc::test::born_aged(29, hrdoc::test::kD)),
                                       "Токарь", "4", "Высшее\rСреднее общее", "Уральский университет\rШкола № 5",
                                       "Технология машиностроения;"}));
  EXPECT_EQ(s.text(kLines140 + 5, 10), "Технология машиностроения;\r");
  EXPECT_EQ(got[3][7] + got[3][8] + got[3][9], "");  // no education
  EXPECT_EQ(ui().windows.at(0).caption, "Печать \"Сведения по сотрудникам\" (Ф.ех.24)");
  EXPECT_TRUE(ui().boxes.empty());
}

TEST_F(StaffLists, list_order_2_sorts_by_staffing_order_then_position) {
  // No staffing order in the fixture: the position decides ("Бухгалтер" before "Токарь",
  // "Начальник цеха" before "Токарь").
  ASSERT_EQ(run_list("HRDOC140", {20, 10}, 2), 0);
  const Lines got = lines(result(), kLines140, 6);
  EXPECT_EQ(got[3][3] + "|" + got[3][5], "Сидоров|Токарь");
  EXPECT_EQ(got[5][1] + "|" + got[5][5], "Борисова|Начальник цеха");
}

TEST_F(StaffLists, an_error_is_shown_and_the_book_kept) {
  exec("drop table KDT2IOB");
  ASSERT_EQ(run_list("HRDOC130", {}, 0), 0);
  ASSERT_EQ(ui().boxes.size(), 1u);
  EXPECT_NE(ui().boxes[0].text.find("KDT2IOB"), std::string::npos) << ui().boxes[0].text;
  EXPECT_EQ(ui().documents.size(), 1u);
}

}  // namespace
