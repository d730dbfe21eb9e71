// "HRDOC040" and "HRDOC290" through main_dll on the statistics fixture database; the finished
// books are read back cell by cell.
#include <gtest/gtest.h>

#include <string>

#include "reports/statistics/statistics_fixture.h"

namespace {

using hrdoc::test::kD;
using hrdoc::test::Lines;
using hrdoc::test::no_marks;
using hrdoc::text::encode_date;

// Where the finished forms have their lines (the mark column is gone).
constexpr int kLines040 = 6, kLines290 = 8;

class Dismissed : public hrdoc::test::StatisticsFixture {};

TEST_F(Dismissed, hrdoc040_lists_the_periods_dismissals_with_personal_data_in_tree_and_name_order) {
  ASSERT_EQ(run("HRDOC040", kD, 0, encode_date(2026, 1, 1), kD), 0);
  const auto& s = result();
  EXPECT_EQ(s.text(1, 1), "ВЫБЫВШИЕ ПО ПОДРАЗДЕЛЕНИЮ АО \"Заря\" С 01.01.2026 ПО 05.12.2026");
  EXPECT_TRUE(no_marks(s));
  // "Гараж" before "Цех № 1"; the name cut at the first two spaces after the outer blanks are
  // gone, a two-word name without patronymic, a one-word name as the first name; an address
  // without a city keeps both separators; the position before the dismissal when there is one.
  EXPECT_EQ(lines(s, kLines040, 15),
            (Lines{{"1", "Николаев", "Николай", "Николаевич", "М", hrdoc::text::date_text(hrdoc::test::born_aged(30, encode_date(2026, 3, 10))),
                    "", "", "", "", "", "", "Слесарь", "10.03.2026", "п. 3 ч. 1 ст. 77 ТК РФ"},
                   {"2", "Петров", "Пётр", "", "М", hrdoc::text::date_text(hrdoc::test::born_aged(50, encode_date(2026, 6, 15))),
                    "", "", "", "", "", "", "Водитель погрузчика", "15.06.2026", "п. 1 ч. 1 ст. 77 ТК РФ"},
                   {"3", "", "Сидоров", "", "М", "", "", "", "", "", "", "", "", "01.07.2026", ""},
                   {"4", "Фёдоров", "Фёдор", "Фёдорович", "М", "20.01.1975", "6505", "123456", "ОВД г. Берёзовский",
                    "01.02.2020", "624000", "Свердловская обл., , пос. Северный, ул. Мира, д.5, кв.12",
                    "Слесарь 4 разряда", "01.09.2026", "п. 2 ч. 1 ст. 77 ТК РФ"},
                   {"5", "Зайцев", "Сергей", "Павлович", "М", "01.01.1990", "6510", "654321", "УФМС", "10.02.2010",
                    "620000", "Екатеринбург, ул. Ленина, д.1, корп.А, кв.2", "Токарь", "05.12.2026",
                    "п. 6 ч. 1 ст. 81 ТК РФ"}}));
  ASSERT_EQ(ui().windows.size(), 1u);
  EXPECT_EQ(ui().windows[0].caption, "Сведения об уволенных");
  EXPECT_EQ(ui().windows[0].max, 5);
  EXPECT_TRUE(ui().boxes.empty());
}

TEST_F(Dismissed, hrdoc040_keeps_to_the_department_and_the_period) {
  ASSERT_EQ(run("HRDOC040", kD, 11, encode_date(2026, 1, 1), kD), 0);
  // Nobody of "Участок" left; the heading names the way down to it.
  EXPECT_EQ(result().text(1, 1),
            "ВЫБЫВШИЕ ПО ПОДРАЗДЕЛЕНИЮ АО \"Заря\", Заря, Цех № 1, Участок С 01.01.2026 ПО 05.12.2026");
  EXPECT_EQ(result().last_row(), kLines040 - 1);

  ASSERT_EQ(run("HRDOC040", kD, 40, encode_date(2025, 1, 1), encode_date(2025, 12, 31)), 0);
  EXPECT_EQ(lines(result(), kLines040, 3), (Lines{{"1", "Яковлев", "Яков"}}));
}

TEST_F(Dismissed, hrdoc290_counts_a_line_per_position_by_ground_age_and_service) {
  ASSERT_EQ(run("HRDOC290", kD, 0), 0);
  const auto& s = result();
  EXPECT_EQ(s.text(1, 1), "Сведения о численности работников,");
  EXPECT_EQ(s.text(2, 1), "уволенных за прогулы и нарушения трудовой дисциплины в 2026 году");
  EXPECT_EQ(s.text(3, 1), "по подразделению ");
  EXPECT_TRUE(no_marks(s));
  // All; discipline, own wish, agreement, other; under 30, 30-45, 46-50, over 50; service under
  // 1, 1-5, 6-10, over 10 years. "Водитель" and "Водитель  " are adjacent and share a line;
  // " Слесарь" sorts first and "Слесарь" comes again after the drivers.
  EXPECT_EQ(lines(s, kLines290, 14),
            (Lines{{"Слесарь", "1", "", "1", "", "", "", "1", "", "", "", "1", "", ""},
                   {"Водитель", "2", "", "", "1", "1", "1", "", "1", "", "1", "", "1", ""},
                   {"Слесарь", "1", "", "", "", "1", "", "", "", "1", "", "", "1", ""},
                   {"Токарь", "1", "1", "", "", "", "", "1", "", "", "", "", "", "1"},
                   {"Итого", "5", "1", "1", "1", "2", "1", "2", "1", "1", "1", "1", "2", "1"}}));
  EXPECT_EQ(ui().windows.at(0).statuses.back(), "Зайцев Сергей Павлович ");
  EXPECT_TRUE(ui().boxes.empty());
}

TEST_F(Dismissed, hrdoc290_keeps_to_the_department_and_an_empty_year_gives_blank_lines) {
  ASSERT_EQ(run("HRDOC290", kD, 10), 0);
  EXPECT_EQ(result().text(3, 1), "по подразделению Цех № 1");
  EXPECT_EQ(lines(result(), kLines290, 3), (Lines{{"Токарь", "1", "1"}, {"Итого", "1", "1"}}));

  ASSERT_EQ(run("HRDOC290", encode_date(2025, 6, 30), 0), 0);
  EXPECT_EQ(lines(result(), kLines290, 2), (Lines{{"Грузчик", "1"}, {"Итого", "1"}}));

  ASSERT_EQ(run("HRDOC290", encode_date(2030, 1, 15), 0), 0);
  EXPECT_EQ(result().text(2, 1), "уволенных за прогулы и нарушения трудовой дисциплины в 2030 году");
  EXPECT_EQ(lines(result(), kLines290, 14), (Lines{{"", "", "", "", "", "", "", "", "", "", "", "", "", ""},
                                                   {"Итого", "", "", "", "", "", "", "", "", "", "", "", "", ""}}));
}

TEST_F(Dismissed, a_failing_statement_is_silent_and_the_book_keeps_its_header) {
  exec("drop table ZPADS1");
  ASSERT_EQ(run("HRDOC290", kD, 0), 0);
  EXPECT_EQ(result().last_row(), kLines290 - 1);
  ASSERT_EQ(run("HRDOC040", kD, 0, encode_date(2026, 1, 1), kD), 0);
  EXPECT_EQ(result().last_row(), kLines040 - 1);
  EXPECT_EQ(ui().documents.size(), 2u);
  EXPECT_TRUE(ui().boxes.empty());
}

}  // namespace
