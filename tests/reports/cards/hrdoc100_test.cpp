// "HRDOC100" and "HRDOC101" through main_dll on the cards fixture: the registry and the export
// log are read back cell by cell.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "reports/cards/cards_fixture.h"

namespace {

using hrdoc::test::Line;
using hrdoc::test::Lines;
using hrdoc::text::encode_date;

constexpr int kFirstLine = 8, kHeadingRow = 6, kColG = 7, kColY = 25, kColAD = 30, kColAR = 44;
const std::string kRequired = "Нет обязательного значения";
const TDateTime kNov1 = encode_date(2026, 11, 1), kNov30 = encode_date(2026, 11, 30);

class Hrdoc100 : public hrdoc::test::CardsFixture {
 protected:
  // The data lines of the registry: C..Y, then AD.
  static Lines registry_lines(const hrdoc::sheet::Sheet& s) {
    Lines out;
    for (int r = kFirstLine; !s.text(r, 3).empty(); ++r) {
      Line l = cells(s, r, 3, kColY);
      l.push_back(s.text(r, kColAD));
      out.push_back(l);
    }
    return out;
  }
  static Lines log_lines(const hrdoc::sheet::Sheet& s) {
    Lines out;
    for (int r = 3; r <= s.last_row(); ++r) out.push_back(cells(s, r, 1, 4));
    return out;
  }
  // The headings of the registry's red cells on a line.
  static std::set<std::string> red(const hrdoc::sheet::Sheet& s, int row) {
    std::set<std::string> out;
    for (int c = 1; c <= kColAR; ++c)
      if (s.fill(row, c) == 0x0000FFu) out.insert(s.text(kHeadingRow, c));
    return out;
  }
  // The columns the log names for each employee, by surname.
  static std::map<std::string, std::set<std::string>> logged(const Lines& log) {
    std::map<std::string, std::set<std::string>> out;
    std::string who;
    for (const Line& l : log) {
      if (!l[1].empty()) who = l[1].substr(0, l[1].find(' '));
      out[who].insert(l[2]);
    }
    return out;
  }
  int run_november(const char* command) { return run(command, 0, kNov1, kNov30); }
};

TEST_F(Hrdoc100, registry_lists_every_candidate_with_its_values_checked_and_logged) {
  ASSERT_EQ(run_november("HRDOC100"), 0);
  ASSERT_EQ(ui().documents.size(), 2u);
  const auto& s = document(0);
  const auto& log = document(1);

  // Sorted by surname; the gaps of each employee are left empty, over-long values written whole.
  const Line base = {"21", "65 10", "123456", "10.02.2010", "ОВД Кировского р-на", "660-001", "Екатеринбург", "66",
                     "", "ул. Мира", "5", "1", "12", "620000", "17.05.1990", "Екатеринбург", "М", "рабочий",
                     "3432345678"};
  auto line = [&](const char* c, const char* d, const char* e, const char* f, std::map<int, std::string> diff,
                  const char* product) {
    Line l = {c, d, e, f};
    l.insert(l.end(), base.begin(), base.end());
    for (const auto& [col, v] : diff) l[col - 3] = v;
    l.push_back(product);
    return l;
  };
  const std::string x81(81, 'X'), born = "Каменск-Уральский Свердловской области";
  EXPECT_EQ(registry_lines(s),
            (Lines{line("Иванов", "Иван", "Иванович", "1501", {}, "VGLD"),
                   line("Кузнецов", "Кирилл", "Андреевич", "1505", {{8, "65"}, {11, x81}, {17, "123456"}}, "CLAS"),
                   line("Лебедев", "Лев", "Львович", "1506", {{7, "10"}, {8, ""}, {9, "751234567"}}, "CLAS"),
                   line("Морозов", "Максим", "Максимович", "1507", {{7, "3"}, {8, "АБ"}}, "CLAS"),
                   line("Новиков", "Никита", "Николаевич", "1508", {{7, "3"}, {8, ""}}, "CLAS"),
                   line("Оганесян", "", "", "1504", {{14, "07"}, {22, born}}, "CLAS"),
                   line("Орлов", "Олег", "Олегович", "1509", {{8, ""}, {9, ""}}, "CLAS"),
                   line("Петрова", "Анна", "Сергеевна", "1502", {{10, ""}, {12, ""}}, "VCLI"),
                   line("Сидоров", "Олег", "Петрович", "1503",
                        {{13, ""}, {14, ""}, {16, ""}, {17, ""}, {18, ""}, {19, ""}}, "PLAT")}));
  for (int n = 1; n <= 9; ++n) EXPECT_EQ(s.text(kFirstLine + n - 1, 2), std::to_string(n));
  // An empty piece of the name is one blank; the number, region and house are texts.
  EXPECT_EQ(s.text(13, 4), " ");
  for (int col : {9, 14, 17}) EXPECT_EQ(s.number_format(kFirstLine, col), "@") << col;

  // The log: an employee's lines together, in the order found, the number and name on the first.
  EXPECT_EQ(log.text(1, 1), "Протокол выгрузки");
  EXPECT_EQ(log.page_setup().fit_width, 1);
  EXPECT_EQ(cells(log, 2, 1, 5), (Line{"ТН", "Фамилия, Имя, Отчество", "Колонка", "Ошибка", ""}));
  const Lines logLines = log_lines(log);
  EXPECT_EQ(logLines, (Lines{{"1505", "Кузнецов Кирилл Андреевич", "Кем выдан документ", "Значение более 80 символов"},
                             {"", "", "Дом", "Значение более 5 символов"},
                             {"1506", "Лебедев Лев Львович", "Серия", kRequired},
                             {"1508", "Новиков Никита Николаевич", "Серия", kRequired},
                             {"1504", "Оганесян", "Место рождения", "Значение более 30 символов"},
                             {"1509", "Орлов Олег Олегович", "Серия", kRequired},
                             {"", "", "Номер", kRequired},
                             {"1502", "Петрова Анна Сергеевна", "Дата выдачи", kRequired},
                             {"", "", "Код подразделения", kRequired},
                             {"1503", "Сидоров Олег Петрович", "Населенный пункт", kRequired},
                             {"", "", "Регион", kRequired},
                             {"", "", "Улица", kRequired},
                             {"", "", "Дом", kRequired}}));
  // Red exactly where the log says.
  const auto named = logged(logLines);
  for (int r = kFirstLine; r < kFirstLine + 9; ++r) {
    const auto it = named.find(s.text(r, 3));
    EXPECT_EQ(red(s, r), it == named.end() ? std::set<std::string>{} : it->second) << s.text(r, 3);
  }

  const auto& w = ui().windows.at(0);
  EXPECT_EQ(w.caption, "Печать реестра об открытии картсчетов сотрудникам организации");
  EXPECT_EQ(w.statuses.back(), "Подготовка формы... Ok");
  EXPECT_EQ(w.position, w.max);
  EXPECT_TRUE(ui().boxes.empty());
}

TEST_F(Hrdoc100, bank_header_and_constant_columns_stay_and_an_empty_line_follows_the_data) {
  ASSERT_EQ(run_november("HRDOC100"), 0);
  const auto& s = document(0);
  hrdoc::sheet::Book blank(std::string(HRDOC_BIN_DIR) + "mzxls/HRDOC100.xlsx");
  const auto& t = blank.sheet(1);
  for (int r = 1; r < kFirstLine; ++r) EXPECT_EQ(cells(s, r, 1, kColAR), cells(t, r, 1, kColAR)) << r;
  const int below = kFirstLine + 9;
  for (int r = kFirstLine; r <= below; ++r) {
    for (int c : {26, 27, 28, 29}) EXPECT_EQ(s.text(r, c), t.text(kFirstLine, c)) << r << ":" << c;
    for (int c = 31; c <= kColAR; ++c) EXPECT_EQ(s.text(r, c), t.text(kFirstLine, c)) << r << ":" << c;
  }
  EXPECT_FALSE(t.text(kFirstLine, 26).empty());
  // The line below the data is the template's empty line, frame and text format included.
  for (int c : {2, 3, kColY, kColAD}) EXPECT_EQ(s.text(below, c), "") << c;
  EXPECT_EQ(s.border(below, 3), t.border(kFirstLine, 3));
  EXPECT_FALSE(s.border(below, 3).bottom.style.empty());
  EXPECT_EQ(s.number_format(below, 9), "@");
  EXPECT_EQ(s.last_row(), below);
}

TEST_F(Hrdoc100, telephone_of_eleven_characters_is_flagged_on_every_line) {
  exec("update SPCONST set CNST = '34323456789' where IDCONST = 'KDRTEL'");
  ASSERT_EQ(run_november("HRDOC100"), 0);
  const auto& s = document(0);
  const Lines log = log_lines(document(1));
  int phone = 0;
  for (const Line& l : log)
    if (l[2] == "Номер телефона") {
      EXPECT_EQ(l[3], "Значение не 10 символов");
      ++phone;
    }
  EXPECT_EQ(phone, 9);
  EXPECT_EQ(log.front(), (Line{"1501", "Иванов Иван Иванович", "Номер телефона", "Значение не 10 символов"}));
  for (int r = kFirstLine; r < kFirstLine + 9; ++r) {
    EXPECT_EQ(s.text(r, kColY), "34323456789");
    EXPECT_TRUE(red(s, r).count("Номер телефона")) << r;
  }
}

TEST_F(Hrdoc100, hrdoc101_lists_candidates_unticked_and_prints_the_ticked_only) {
  Line shown;
  std::vector<bool> ticks;
  ui().on_form = [&](hrdoc::ui::Form& f) {
    if (f.name != "TfmHRDOC101") return;
    const auto& lv = f.fields.at(0);
    EXPECT_EQ(lv.name, "ListView1");
    EXPECT_EQ(lv.columns, (Line{"ФИО", "Подразделение"}));
    for (const auto& row : lv.cells) shown.push_back(row.at(0) + "/" + row.at(1));
    ticks = lv.checked;
  };
  ui().form_answers.push_back({});
  ui().form_answers.push_back({{{"ListView1", "0,2"}}, false, ""});
  ASSERT_EQ(run_november("HRDOC101"), 0);
  EXPECT_EQ(shown, (Line{"Иванов/Цех № 1", "Кузнецов/Цех № 1", "Лебедев/Цех № 1", "Морозов/Цех № 1", "Новиков/Цех № 1",
                         "Оганесян/Цех № 1", "Орлов/Цех № 1", "Петрова/Цех № 1", "Сидоров/Цех № 1"}));
  EXPECT_EQ(ticks, std::vector<bool>(9, false));
  const auto& s = document(0);
  EXPECT_EQ(s.text(kFirstLine, 3), "Иванов");
  EXPECT_EQ(s.text(kFirstLine + 1, 3), "Лебедев");
  EXPECT_EQ(s.text(kFirstLine + 2, 3), "");
  EXPECT_EQ(log_lines(document(1)), (Lines{{"1506", "Лебедев Лев Львович", "Серия", kRequired}}));
}

TEST_F(Hrdoc100, closing_the_selection_writes_nothing) {
  ui().form_answers.push_back({});
  ui().form_answers.push_back({{}, true, ""});
  ASSERT_EQ(run_november("HRDOC101"), 0);
  EXPECT_TRUE(ui().documents.empty());
  EXPECT_TRUE(ui().boxes.empty());
  EXPECT_TRUE(std::filesystem::is_empty(work_dir()));
}

TEST_F(Hrdoc100, month_without_candidates_gives_an_empty_registry_and_an_empty_log) {
  ASSERT_EQ(run("HRDOC100", 0, encode_date(2026, 9, 1), encode_date(2026, 9, 30)), 0);
  EXPECT_EQ(ui().windows.at(0).statuses.back(), "Подготовка формы... Данных нет");
  const auto& s = document(0);
  EXPECT_EQ(s.text(kFirstLine, 3), "");
  EXPECT_EQ(s.last_row(), kFirstLine);
  const auto& log = document(1);
  EXPECT_EQ(log.text(2, 4), "Ошибка");
  EXPECT_EQ(log.last_row(), 2);
}

}  // namespace
