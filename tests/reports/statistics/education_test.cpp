// "HRDOC050", "HRDOC300" and "HRDOC180" through main_dll on the education fixture database; the
// finished books are read back cell by cell.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "reports/statistics/education_fixture.h"

namespace {

using hrdoc::test::kD;
using hrdoc::test::Lines;
using hrdoc::test::no_marks;

// Where the forms have their first line (the mark column is gone).
constexpr int kLines050 = 5, kLines300 = 8, kLines180 = 11;

class Education : public hrdoc::test::EducationFixture {};

TEST_F(Education, hrdoc050_lists_each_education_record_of_the_current_staff_under_department_headings) {
  ASSERT_EQ(run("HRDOC050", kD, 0), 0);
  const auto& s = result();
  EXPECT_EQ(s.text(1, 1), "Сведения об образовании сотрудников подразделения АО \"Заря\" на 05.12.2026");
  EXPECT_TRUE(no_marks(s));
  // Left out: a dismissal before the date (Зайцев), a dismissal on it (Ильин), a hire after it
  // (Козлов). Андреев has two records, two lines; the departments come in tree order.
  EXPECT_EQ(lines(s, kLines050, 4), (Lines{{"Бухгалтерия", "", "", ""},
                                           {"1", "Морозов", "Максим", "Игоревич"},
                                           {"Цех № 1", "", "", ""},
                                           {"2", "Андреев", "Андрей", "Андреевич"},
                                           {"3", "Андреев", "Андрей", "Андреевич"},
                                           {"4", "Борисова", "Мария", "Петровна"},
                                           {"5", "Васильев", "Пётр", ""},
                                           {"6", "Григорьева", "Ольга", "Ивановна"},
                                           {"7", "Егоров", "Егор", "Егорович"},
                                           {"8", "Жуков", "Иван", "Сергеевич"},
                                           {"Цех № 1, Участок", "", "", ""},
                                           {"9", "Лебедева", "Лариса", "Николаевна"}}));
  // Birth date, position, grade, level, institution, speciality, diploma.
  EXPECT_EQ(lines(s, kLines050 + 1, 11)[0],
            (hrdoc::test::Line{"1", "Морозов", "Максим", "Игоревич", "05.05.1985", "Должность", "4", "Высшее",
                               "Уральский университет", "Бухгалтерский учет", ""}));
  const Lines andreev = lines(s, kLines050 + 3, 11);
  EXPECT_EQ(andreev[0][10] + "|" + andreev[1][10], "ВСГ 1|");
  EXPECT_EQ(andreev[0][7] + "|" + andreev[1][7], "Высшее|Среднее общее");
  ASSERT_EQ(ui().windows.size(), 1u);
  EXPECT_EQ(ui().windows[0].caption, "Сведения об образовании");
  EXPECT_EQ(ui().windows[0].max, 9);
  EXPECT_TRUE(ui().boxes.empty());
}

TEST_F(Education, hrdoc050_for_a_department_takes_its_staff_and_those_below_it) {
  ASSERT_EQ(run("HRDOC050", kD, 11), 0);
  const Lines got = lines(result(), kLines050, 2);
  EXPECT_EQ(got, (Lines{{"Участок", ""}, {"1", "Лебедева"}}));
}

TEST_F(Education, hrdoc300_counts_the_staff_of_15_to_29_years_and_writes_lines_only_for_departments_without_staff_below) {
  ASSERT_EQ(run("HRDOC300", kD, 0), 0);
  const auto& s = result();
  EXPECT_EQ(s.text(2, 1), "по состоянию на 05.12.2026");
  EXPECT_TRUE(std::regex_match(s.text(3, 1), std::regex(R"(\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d)"))) << s.text(3, 1);
  EXPECT_TRUE(no_marks(s));
  // Columns: all, men, women, higher, incomplete higher, secondary special, secondary general,
  // none, extramural, at universities, at colleges. Цех № 1 has staff in its Участок: no line of
  // its own, its four (29 years, "М", "м", empty sex, a woman) still in the total. Not counted:
  // 30 and 14 years; Бухгалтерия has nobody young.
  EXPECT_EQ(lines(s, kLines300, 12),
            (Lines{{"Итого по Участок", "1", "0", "1", "0", "0", "0", "0", "0", "0", "0", "0"},
                   {"Всего", "5", "2", "3", "1", "1", "1", "0", "0", "2", "1", "1"},
                   {"", "", "", "", "", "", "", "", "", "", "", ""},
                   {"Директор                                  ____________________________", "", "", "", "", "",
                    "", "", "", "", "", ""},
                   {"Начальник службы по кадрам  ____________________________", "", "", "", "", "", "", "", "",
                    "", "", ""}}));
  EXPECT_EQ(ui().windows.at(0).caption, "Сведения об образовании (до 29 лет)");
  EXPECT_TRUE(ui().boxes.empty());
}

TEST_F(Education, hrdoc180_counts_categories_and_the_latest_finished_education_per_department) {
  ctx().NASH = 101;
  ctx().NACHOK = 102;
  ASSERT_EQ(run("HRDOC180", kD, 0), 0);
  const auto& s = result();
  EXPECT_EQ(s.text(1, 1), "СВЕДЕНИЯ");
  EXPECT_EQ(s.text(3, 1), "с высшим и средним образованием на 05.12.2026 года");
  EXPECT_EQ(s.text(4, 1), "          АО \"Заря\"          ");
  // All, managers, specialists, workers; the same with higher and with secondary education;
  // men, women. Category 3 and level 5 (Жуков) only in the first column; an empty sex is a man;
  // unfinished studies count nowhere; the school record of Егоров is his latest finished one.
  EXPECT_EQ(lines(s, kLines180, 15),
            (Lines{{"Бухгалтерия", "3", "0", "2", "1", "1", "0", "1", "0", "0", "0", "0", "0", "2", "1"},
                   {"Цех № 1", "7", "1", "1", "4", "2", "0", "1", "1", "1", "1", "0", "0", "5", "2"},
                   {"Цех № 1:Участок", "1", "0", "0", "1", "0", "0", "0", "0", "1", "0", "0", "1", "0", "1"},
                   {"Всего", "11", "1", "3", "6", "3", "0", "2", "1", "2", "1", "0", "1", "7", "4"},
                   {"", "", "", "", "", "", "", "", "", "", "", "", "", "", ""},
                   {"Директор                                  ____________________________  Андреев", "", "", "",
                    "", "", "", "", "", "", "", "", "", "", ""},
                   {"Начальник службы по кадрам  ____________________________  Борисова", "", "", "", "", "", "",
                    "", "", "", "", "", "", "", ""}}));
  EXPECT_EQ(s.text(kLines180 + 3, 1), "   Всего");
  EXPECT_TRUE(ui().boxes.empty());
}

TEST_F(Education, a_failing_statement_ends_all_three_silently_with_the_book_so_far) {
  exec("drop table KDT2IOBR");
  for (const char* command : {"HRDOC050", "HRDOC300", "HRDOC180"}) {
    const size_t before = ui().documents.size();
    ASSERT_EQ(run(command, kD, 0), 0) << command;
    EXPECT_EQ(ui().documents.size(), before + 1) << command;
  }
  EXPECT_TRUE(ui().boxes.empty());
  EXPECT_EQ(result().text(1, 1), "СВЕДЕНИЯ");
  EXPECT_EQ(result().last_row(), kLines180 - 1);  // the heading only
}

}  // namespace
