// "HRDOC110" through main_dll on the cards fixture: the printed registry and the data sheet in
// the bank's layout, read back cell by cell.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "reports/cards/cards_fixture.h"
#include "support/sheet_rows.h"

namespace {

using hrdoc::test::Line;
using hrdoc::test::Lines;
using hrdoc::text::encode_date;

constexpr int kFirstLine = 13, kFirstData = 3, kDataColumns = 25, kTnColumn = 20;

class Hrdoc110 : public hrdoc::test::CardsFixture {
 protected:
  // The sort window gets `order`; the year up to the report date, the enterprise's tree.
  int run_year(const std::string& order) {
    ui().form_answers.push_back({});
    ui().form_answers.push_back({{{"rg", order}}, false, ""});
    return run("HRDOC110", 1, encode_date(2026, 1, 1), encode_date(2026, 12, 5));
  }
  static Lines rows_from(const hrdoc::sheet::Sheet& s, int first, int columns) {
    Lines out;
    for (int r = first; r <= s.last_row(); ++r) out.push_back(cells(s, r, 1, columns));
    return out;
  }
};

TEST_F(Hrdoc110, both_books_list_the_hired_by_personnel_number_without_the_skipped) {
  ASSERT_EQ(run_year("ТН"), 0);
  ASSERT_EQ(ui().documents.size(), 2u);
  const auto& reg = document(0);
  const auto& data = document(1);

  EXPECT_EQ(reg.text(6, 3), "АО \"Заря\"");
  EXPECT_EQ(reg.text(7, 3), "Заря");
  EXPECT_TRUE(hrdoc::test::no_marks(reg));
  // Left out: the pensioners' department, dismissed in the month of the report date, a hiring
  // followed the same day by an order of kind 3, a hiring without salary.
  const Line names = {"Шумов Шамиль \"Шамилевич\"", "Иванов Иван Иванович", "Петрова Анна Сергеевна",
                      "Сидоров Олег Петрович", "Оганесян", "Кузнецов Кирилл Андреевич", "Лебедев Лев Львович",
                      "Морозов Максим Максимович", "Новиков Никита Николаевич", "Орлов Олег Олегович",
                      "Павлов Павел Павлович", "Рыбаков Роман Романович", "Семенов Семен Семенович",
                      "Тарасов Тарас Тарасович"};
  const Lines lines = rows_from(reg, kFirstLine, 3);
  ASSERT_EQ(lines.size(), names.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i][0], std::to_string(i + 1));
    EXPECT_EQ(lines[i][1], names[i]);
  }
  EXPECT_EQ(lines[0][2], "123456,65 10,ОВД \"Центральный\",10.02.2010");
  EXPECT_EQ(lines[1][2], "123456,65 10,ОВД,10.02.2010");
  EXPECT_EQ(lines[5][2], ",65 123456,ОВД,10.02.2010");  // the whole number in the series

  EXPECT_EQ(cells(data, 2, 1, 3), (Line{"FCPOL", "NAM3", "NAM1"}));
  EXPECT_EQ(data.text(2, kDataColumns), "INN");
  const Lines rows = rows_from(data, kFirstData, kDataColumns);
  ASSERT_EQ(rows.size(), names.size());
  EXPECT_EQ(rows[0], (Line{"М", "Шумов", "Шамиль", "Шамилевич", "17.05.1990", "Екатеринбург", "21", "65 10", "123456",
                           "10.02.2010", "ОВД Центральный", "660-001", "353900", "Свердловская", "обл", "Северный",
                           "пос", "ул", "Ленина,0,0", "105", "Сысертский", "р-н", "РОССИЯ", "Токарь",
                           "667000000001"}));
  EXPECT_EQ(rows[1], (Line{"М", "Иванов", "Иван", "Иванович", "17.05.1990", "Екатеринбург", "21", "65 10", "123456",
                           "10.02.2010", "ОВД", "660-001", "620000", "Свердловская", "обл", "Екатеринбург", "", "ул",
                           "Мира,5,1", "1501", "", "", "РОССИЯ", "Токарь", "667000000001"}));
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i][1], names[i].substr(0, names[i].find(' '))) << i;
    if (i > 0) {
      EXPECT_LT(std::stoi(rows[i - 1][kTnColumn - 1]), std::stoi(rows[i][kTnColumn - 1])) << i;
    }
  }
  EXPECT_EQ(data.number_format(kFirstData, kTnColumn), "@");
  EXPECT_TRUE(ui().boxes.empty());
  EXPECT_EQ(ui().windows.at(0).statuses.back(), "Подготовка формы... Ok");
}

TEST_F(Hrdoc110, default_order_is_by_name) {
  ASSERT_EQ(run_year("ФИО"), 0);
  const Lines lines = rows_from(document(0), kFirstLine, 2);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front()[1], "Иванов Иван Иванович");
  EXPECT_EQ(lines.back()[1], "Шумов Шамиль \"Шамилевич\"");
}

TEST_F(Hrdoc110, failing_first_book_is_shown_and_the_data_sheet_still_made) {
  // A registry template without its line part.
  const std::filesystem::path dir = work_dir() / "templates";
  std::filesystem::create_directories(dir);
  std::filesystem::copy_file(std::string(HRDOC_BIN_DIR) + "mzxls/HRDOC111.xlsx", dir / "HRDOC111.xlsx");
  {
    hrdoc::sheet::Book broken;
    auto& s = broken.sheet(1);
    hrdoc::test::put_rows(s, {{"ppHB", "Реестр", "$fpredpr", "$fpodr", "$END$"}, {"ppHE"}, {"$END$"}});
    broken.save((dir / "HRDOC110.xlsx").string());
  }
  ctx().ext().template_dir = dir.string() + "/";
  ASSERT_EQ(run_year("ТН"), 0);

  bool named = false;
  for (const auto& b : ui().boxes) named = named || b.text.find("ppD") != std::string::npos;
  EXPECT_TRUE(named);
  ASSERT_EQ(ui().documents.size(), 2u);
  EXPECT_EQ(document(0).text(1, 1), "Реестр");
  EXPECT_EQ(rows_from(document(1), kFirstData, 2).size(), 14u);
}

TEST_F(Hrdoc110, department_bounds_the_list_and_names_the_header) {
  ui().form_answers.push_back({});
  ASSERT_EQ(run("HRDOC110", 20, encode_date(2026, 1, 1), encode_date(2026, 12, 5)), 0);
  const auto& reg = document(0);
  EXPECT_EQ(reg.text(7, 3), "Склад");
  EXPECT_EQ(rows_from(reg, kFirstLine, 2), (Lines{{"1", "Шумов Шамиль \"Шамилевич\""}}));

  // A period without hirings gives both books without lines.
  ui().form_answers.push_back({});
  ASSERT_EQ(run("HRDOC110", 20, encode_date(2025, 1, 1), encode_date(2025, 12, 31)), 0);
  ASSERT_EQ(ui().documents.size(), 4u);
  EXPECT_EQ(document(2).last_row(), kFirstLine - 1);
  EXPECT_EQ(document(3).last_row(), kFirstData - 1);
  EXPECT_EQ(ui().windows.back().statuses.back(), "Подготовка формы... Данных нет");
}

}  // namespace
