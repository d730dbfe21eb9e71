// "HRDOC190" .. "HRDOC240" through main_dll on the database of courses; the finished books are
// read back cell by cell.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "reports/statistics/qualification_fixture.h"

namespace {

using hrdoc::test::kD;
using hrdoc::test::kD1;
using hrdoc::test::Line;
using hrdoc::test::Lines;
using hrdoc::text::encode_date;

// Where the lines begin in the finished forms (the mark column is gone).
constexpr int kLines = 7, kLines240 = 8;

class Qualification : public hrdoc::test::QualificationFixture {
 protected:
  static std::vector<std::string> column(const hrdoc::sheet::Sheet& s, int col, int first = kLines) {
    return QualificationFixture::column(s, col, first);
  }
};

// A line of "HRDOC240": the employee's cells, then a course in column group 1, 2 or 3.
Line line240(std::vector<std::string> person, int group = 0, std::vector<std::string> course = {}) {
  person.resize(17);
  for (size_t i = 0; i < course.size(); ++i) person[5 + 4 * (group - 1) + i] = course[i];
  return person;
}

TEST_F(Qualification, hrdoc190_lists_each_employees_courses_department_by_department) {
  ASSERT_EQ(run("HRDOC190", 0), 0);
  const auto& s = result();
  EXPECT_EQ(s.text(1, 1), "Отчет о повышении квалификации по всем категориям");
  EXPECT_EQ(s.text(2, 1), "по подразделению АО \"Заря\"");
  EXPECT_EQ(s.text(3, 1), "с 01.01.2026 по 05.12.2026");
  EXPECT_TRUE(hrdoc::test::no_marks(s));
  // Courses by document date, the employee's cells on the first only; the sum to four places;
  // 0 days and a document outside the period left out, documents on its bounds kept.
  const Line more = {"", "", "", "", ""};
  auto course = [&](std::vector<std::string> c) {
    Line l = more;
    l.insert(l.end(), c.begin(), c.end());
    return l;
  };
  EXPECT_EQ(lines(s, kLines, 9),
            (Lines{{"Бухгалтерия", "", "", "", "", "", "", "", ""},
                   {"1", "Лебедева Лариса Николаевна", "2001", "Главный бухгалтер", "", "Сторонняя организация", "3",
                    "15000", "Налоги"},
                   {"2", "Морозов Максим Игоревич", "2002", "Бухгалтер", "", "Сторонняя организация", "2", "8000",
                    "Электробезопасность"},
                   {"Цех № 1", "", "", "", "", "", "", "", ""},
                   {"3", "Андреев Андрей Андреевич", "1101", "Токарь", "5", "Учебный центр", "5", "1234.5679",
                    "Станки с ЧПУ"},
                   course({"Сторонняя организация", "3", "1000", "Электробезопасность"}),
                   course({"Дистанционное обучение", "2", "0", "Стропальщик"}),
                   {"4", "Борисова Мария Петровна", "1005", "Инженер", "", "Сторонняя организация", "2", "500",
                    "Охрана труда"},
                   {"5", "Васильев Пётр Олегович", "1003", "Слесарь", "3", "Учебный центр", "1", "600",
                    "Пожарный минимум"},
                   course({"Учебный центр", "3", "3000", "Бережливое производство"}),
                   course({"Дистанционное обучение", "5", "4000", "Сварка"}),
                   course({"Дистанционное обучение", "10", "5000", "Электробезопасность"}),
                   course({"Сторонняя организация", "1", "800", "Электробезопасность"}),
                   {"6", "Григорьев Глеб Юрьевич", "1004", "Слесарь", "4", "Учебный центр", "4", "2500",
                    "Станки с ЧПУ"},
                   {"Участок: Бригада", "", "", "", "", "", "", "", ""},
                   {"7", "Ильин Илья Ильич", "1201", "Сварщик", "6", "Дистанционное обучение", "4", "2000", "Сварка"},
                   course({"Дистанционное обучение", "4", "2000", "Сварка"})}));
  ASSERT_EQ(ui().windows.size(), 1u);
  EXPECT_EQ(ui().windows[0].caption, "Отчет о повышении квалификации  по всем категориям");
  EXPECT_EQ(ui().windows[0].statuses.back(), "Ильин Илья Ильич 1201");
  EXPECT_TRUE(ui().boxes.empty());
}

TEST_F(Qualification, hrdoc190_orders_by_the_list_order_within_each_department) {
  // By personnel number; by staffing line, an employee without one first.
  const struct {
    int order;
    std::vector<std::string> names;
  } cases[] = {
      {1, {"", "2001", "2002", "", "1003", "", "", "", "", "1004", "1005", "1101", "", "", "", "1201", ""}},
      {2, {"", "2002", "2001", "", "1004", "1101", "", "", "1005", "1003", "", "", "", "", "", "1201", ""}},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(run("HRDOC190", 0, {}, c.order), 0);
    EXPECT_EQ(column(result(), 3), c.names) << "order " << c.order;
  }
}

TEST_F(Qualification, the_department_set_selects_and_the_department_only_names_the_header) {
  ASSERT_EQ(run("HRDOC190", 20, {10}), 0);
  EXPECT_EQ(result().text(2, 1), "по подразделению АО \"Заря\", Заря, Бухгалтерия");
  EXPECT_EQ(column(result(), 1),
            (std::vector<std::string>{"Цех № 1", "1", "", "", "2", "3", "", "", "", "", "4", "Участок: Бригада", "5", ""}));
}

TEST_F(Qualification, hrdoc200_and_hrdoc210_split_the_workers_from_the_others) {
  const struct {
    const char *command, *title;
    Lines rows;
  } cases[] = {
      {"HRDOC200", "Отчет о повышении квалификации по всем категориям кроме рабочих",
       {{"Бухгалтерия", ""}, {"1", "Лебедева Лариса Николаевна"}, {"2", "Морозов Максим Игоревич"},
        {"Цех № 1", ""}, {"3", "Борисова Мария Петровна"}}},
      {"HRDOC210", "Отчет о повышении квалификации по рабочим",
       {{"Цех № 1", ""}, {"1", "Андреев Андрей Андреевич"}, {"", ""}, {"", ""}, {"2", "Васильев Пётр Олегович"},
        {"", ""}, {"", ""}, {"", ""}, {"", ""}, {"3", "Григорьев Глеб Юрьевич"}, {"Участок: Бригада", ""},
        {"4", "Ильин Илья Ильич"}, {"", ""}}},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(run(c.command, 0), 0);
    EXPECT_EQ(result().text(1, 1), c.title);
    EXPECT_EQ(lines(result(), kLines, 2), c.rows) << c.command;
  }
}

TEST_F(Qualification, hrdoc220_counts_by_kind_topic_and_position_of_the_latest_state) {
  // Морозов counts among the workers by his record after the period.
  const struct {
    const char *command, *title;
    Lines rows;
  } cases[] = {
      {"HRDOC220", "Повышение квалификации руководителей и специалистов",
       {{"Сторонняя организация", "Налоги", "Главный бухгалтер", "1"},
        {"", "Охрана труда", "Инженер", "1"},
        {"Всего", "", "", "2"}}},
      {"HRDOC221", "Повышение квалификации рабочими",
       {{"Дистанционное обучение", "Сварка", "Сварщик", "2"},
        {"", "", "Слесарь", "1"},
        {"", "Стропальщик", "Токарь", "1"},
        {"", "Электробезопасность", "Слесарь", "1"},
        {"Сторонняя организация", "", "Кладовщик", "1"},
        {"", "", "Слесарь", "1"},
        {"", "", "Токарь", "1"},
        {"Учебный центр", "Бережливое производство", "Слесарь", "1"},
        {"", "Пожарный минимум", "Слесарь", "1"},
        {"", "Станки с ЧПУ", "Слесарь", "1"},
        {"", "", "Токарь", "1"},
        {"Всего", "", "", "12"}}},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(run(c.command, 0), 0);
    EXPECT_EQ(result().text(1, 1), c.title);
    EXPECT_EQ(lines(result(), kLines, 4), c.rows) << c.command;
    EXPECT_EQ(ui().windows.back().caption, "Отчет о повышении квалификации по всем категориям кроме рабочих");
  }
}

TEST_F(Qualification, hrdoc230_counts_the_workers_courses_by_kind_and_form) {
  const struct {
    int kp;
    Lines rows;
  } cases[] = {
      {0,
       {{"Дистанционное обучение", "", "", "5", "", "5"},
        {"Сторонняя организация", "", "2", "", "1", "3"},
        {"Учебный центр", "1", "3", "", "", "4"},
        {"Итого", "", "", "", "", "12"}}},
      {12, {{"Дистанционное обучение", "", "", "2", "", "2"}, {"Итого", "", "", "", "", "2"}}},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(run("HRDOC230", c.kp), 0);
    EXPECT_EQ(result().text(1, 1), "Обучение рабочих");
    EXPECT_EQ(lines(result(), kLines, 6), c.rows) << c.kp;
  }
}

TEST_F(Qualification, hrdoc240_puts_courses_begun_in_the_period_into_their_column_groups) {
  ASSERT_EQ(run("HRDOC240", 0), 0);
  const auto& s = result();
  EXPECT_EQ(s.text(1, 1), "Сведения по повышению квалификации работников");
  EXPECT_EQ(s.text(3, 1), "с 01.01.2026 по 05.12.2026");
  EXPECT_TRUE(hrdoc::test::no_marks(s));
  // Group 1 takes "Повышение квалификации: семинар" too; "Профессиональная переподготовка" and
  // a course begun before the period (documented inside it) are not listed; 0 days are.
  EXPECT_EQ(lines(s, kLines240, 17),
            (Lines{line240({"Бухгалтерия"}),
                   line240({"1", "Лебедева Лариса Николаевна", "Главный бухгалтер", "01.03.2000", "Руководители"}, 1,
                           {"09.02.2026", "Сторонняя организация", "Налоги", "Б-3 от 10.02.2026"}),
                   line240({"2", "Морозов Максим Игоревич", "Бухгалтер", "02.09.2024", "Специалисты"}, 1,
                           {"02.03.2026", "Сторонняя организация", "Электробезопасность", "Б-4 от 03.03.2026"}),
                   line240({"3", "Никитина Нина Олеговна", "Кассир", "02.02.2026", "Служащие"}),
                   line240({"Цех № 1"}),
                   line240({"4", "Андреев Андрей Андреевич", "Токарь", "02.03.2015", "Рабочие"}, 1,
                           {"01.01.2026", "Учебный центр", "Станки с ЧПУ", "У-1 от 01.01.2026"}),
                   line240({}, 3, {"01.03.2026", "Сторонняя организация", "Электробезопасность", "У-2 от 10.03.2026"}),
                   line240({}, 1, {"01.06.2026", "Учебный центр", "Вводный курс", "У-4 от 01.06.2026"}),
                   line240({}, 2, {"01.12.2026", "Дистанционное обучение", "Стропальщик", "У-3 от 05.12.2026"}),
                   line240({"5", "Борисова Мария Петровна", "Инженер", "10.05.2016", "Специалисты"}, 1,
                           {"01.04.2026", "Сторонняя организация", "Охрана труда", "С-1 от 05.04.2026"}),
                   line240({"6", "Васильев Пётр Олегович", "Слесарь", "14.05.2018", "Рабочие"}, 1,
                           {"02.02.2026", "Учебный центр", "Бережливое производство", "П-7 от 05.02.2026"}),
                   line240({}, 2, {"11.05.2026", "Дистанционное обучение", "Сварка", "Ц-2 от 20.05.2026"}),
                   line240({}, 3, {"01.09.2026", "Сторонняя организация", "Электробезопасность", "С-4 от 03.09.2026"}),
                   line240({"Участок: Бригада"}),
                   line240({"7", "Ильин Илья Ильич", "Сварщик", "01.08.1990", "Рабочие"}, 2,
                           {"01.07.2026", "Дистанционное обучение", "Сварка", "Б-1 от 01.07.2026"}),
                   line240({}, 2, {"28.09.2026", "Дистанционное обучение", "Сварка", "Б-2 от 01.10.2026"}),
                   line240({"УВОЛЕННЫЕ"}),
                   line240({"8", "Григорьев Глеб Юрьевич", "Слесарь", "11.01.2010", "Рабочие"}, 1,
                           {"02.03.2026", "Учебный центр", "Станки с ЧПУ", "У-5 от 06.03.2026"})}));
  EXPECT_EQ(ui().windows.at(0).caption, "Сведения по повышению квалификации работников за период");
  EXPECT_TRUE(ui().boxes.empty());
}

TEST_F(Qualification, hrdoc240_without_dismissals_has_no_dismissed_heading) {
  ASSERT_EQ(run("HRDOC240", 20), 0);
  EXPECT_EQ(column(result(), 2, kLines240),
            (std::vector<std::string>{"", "Лебедева Лариса Николаевна", "Морозов Максим Игоревич",
                                      "Никитина Нина Олеговна"}));
}

TEST_F(Qualification, a_period_without_courses_gives_the_headers_zero_totals_and_bare_staff_lines) {
  const TDateTime from = encode_date(2030, 1, 1), to = encode_date(2030, 12, 31);
  for (const char* command : {"HRDOC190", "HRDOC200", "HRDOC210"}) {
    ASSERT_EQ(run(command, 0, {}, 0, from, to), 0);
    EXPECT_EQ(result().text(3, 1), "с 01.01.2030 по 31.12.2030");
    EXPECT_EQ(result().last_row(), kLines - 1) << command;
  }
  ASSERT_EQ(run("HRDOC220", 0, {}, 0, from, to), 0);
  EXPECT_EQ(lines(result(), kLines, 4), (Lines{{"Всего", "", "", "0"}}));
  ASSERT_EQ(run("HRDOC230", 0, {}, 0, from, to), 0);
  EXPECT_EQ(lines(result(), kLines, 6), (Lines{{"Итого", "", "", "", "", "0"}}));
  // Everyone at work at the end of 2030 (Морозов now a storekeeper), nobody dismissed in it.
  ASSERT_EQ(run("HRDOC240", 0, {}, 0, from, to), 0);
  const Lines staff = lines(result(), kLines240, 17);
  ASSERT_EQ(staff.size(), 10u);
  for (const Line& l : staff) EXPECT_EQ(Line(l.begin() + 5, l.end()), Line(12)) << l[1];
  EXPECT_EQ(staff[2][2], "Кладовщик");
}

TEST_F(Qualification, a_failing_statement_still_gives_a_finished_book_without_a_message) {
  exec("drop table KDVUPKV");
  ASSERT_EQ(run("HRDOC190", 0), 0);
  EXPECT_EQ(result().text(1, 1), "Отчет о повышении квалификации по всем категориям");
  EXPECT_EQ(result().last_row(), kLines - 1);
  // The staff statement runs; the first employee's courses fail.
  ASSERT_EQ(run("HRDOC240", 0), 0);
  EXPECT_EQ(column(result(), 1, kLines240), (std::vector<std::string>{"Бухгалтерия"}));
  EXPECT_EQ(ui().documents.size(), 2u);
  EXPECT_TRUE(ui().boxes.empty());
}

TEST_F(Qualification, the_parameter_dialog_refuses_bad_dates_a_reversed_period_and_unknown_departments) {
  const struct {
    std::map<std::string, std::string> entered;
    const char* message;
  } cases[] = {
      {{{"from", "31.02.2026"}}, "Неверная дата"},
      {{{"from", "05.12.2026"}, {"to", "01.01.2026"}}, "Начало периода позже его конца"},
      {{{"dept", "999"}}, "Подразделение с кодом 999 не найдено"},
  };
  for (const char* command : {"HRDOC190", "HRDOC240"}) {
    for (const auto& c : cases) {
      ui().boxes.clear();
      ui().form_answers.push_back({c.entered, false, {}});
      run(command, 0);
      ASSERT_EQ(ui().boxes.size(), 1u) << command << " " << c.message;
      EXPECT_NE(ui().boxes[0].text.find(c.message), std::string::npos) << ui().boxes[0].text;
    }
  }
  EXPECT_TRUE(ui().documents.empty());
  EXPECT_TRUE(ui().windows.empty());
}

}  // namespace
