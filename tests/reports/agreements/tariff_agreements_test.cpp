// "HRDOC360" (Word) and "HRDOC330" (a book) through main_dll on one fixture database: who gets an
// agreement, which wording, the texts filled in, the window's checks and its signatory picker.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/commands.h"
#include "sheet/book.h"
#include "support/fixture_script.h"
#include "support/office.h"
#include "support/report_fixture.h"
#include "support/test_context.h"
#include "support/test_database.h"
#include "support/work_dir.h"
#include "text/date.h"
#include "text/strings.h"
#include "word/document.h"

namespace hrdoc::test {
namespace {

using Line = std::vector<std::string>;

// The department 5 "Отдел кадров" with the group 6 inside it; 7 "Цех" elsewhere. Every employee
// was hired on 05.03.2020 (order 21) and most got the new grid's salary on 01.11.2026 (order 51).
std::string rows() {
  std::string s;
  auto add = [&](const std::string& sql) { s += sql + ";\n"; };
  add("insert into ZPPASP (P, N) values (1, 'ОАО \"Заречтрубопровод\"')");
  for (const char* node : {"(1, 0, 0, 'Предприятие', 'Предприятие')", "(5, 1, 0, 'ОК', 'Отдел кадров')",
                           "(6, 5, 0, 'ГУ', 'Группа учета')", "(7, 1, 0, 'Цех', 'Цех')",
                           "(8, 1, 0, 'Склад', 'Склад')"})
    add(std::string("insert into OTZKPN (KP, OWNER, TN, SNAME, FNAME) values ") + node);
  int unsd = 0;
  auto history = [&](int kp, int owner, const char* dto, int ktd, double okl, double stv, const char* position) {
    ++unsd;
    const std::string u = std::to_string(unsd), k = std::to_string(kp);
    add("insert into KDSDJZ (UND, KTD, ND, DTV) values (" + u + ", " + std::to_string(ktd) + ", '" + u + "', '" + dto + "')");
    add("insert into KDSDJS (UNSD, UND, KP, KTD, DTO) values (" + u + ", " + u + ", " + k + ", " + std::to_string(ktd) +
        ", '" + dto + "')");
    add("insert into KDT2IIIDVG (UNSD, KP, DTO, KTD, OWNER, NMDS, NMDL, OKL, STV) values (" + u + ", " + k + ", '" + dto +
        "', " + std::to_string(ktd) + ", " + std::to_string(owner) + ", '" + position + "', '" + position + " ОК', " +
        std::to_string(okl) + ", " + std::to_string(stv) + ")");
  };
  struct Person {
    int kp, owner;
    const char* name;
    const char* pkg;  // NULL: no staffing row
    double okl51, stv51;
    const char* last;  // a later record: "" none, else its date and kind
  };
  const Person people[] = {
      {101, 5, "АНДРЕЕВ АНДРЕЙ ПАВЛОВИЧ", "1", 30000, 1, ""},
      {102, 6, "Борисова Вера", "4", 41000.5, 1, ""},
      {103, 5, "Волков Глеб Ильич", "NULL", 35000, 0.5, ""},
      {104, 5, "Громов Денис Ильич", "2", 0, 1, ""},          // the latest record has no salary
      {105, 5, "Дёмин Егор Ильич", "3", 32000, 1, "121 2026-12-01"},  // dismissed on the first day
      {106, 5, "Жуков Зиновий Ильич", "3", 32000, 1, "121 2026-11-20"},  // dismissed earlier
      {107, 7, "Зайцев Игорь Ильич", "1", 30000, 1, ""},     // outside the department
      {108, 5, "Ильин Кирилл Ильич", "1", 30000, 0, ""},     // no rate on the grid's record
      {109, 8, "Кузин Лев Ильич", "1", 30000, 0, ""},        // the store's only employee, no rate
  };
  for (const Person& p : people) {
    const std::string k = std::to_string(p.kp);
    add("insert into OTZKPN (KP, OWNER, TN, SNAME, FNAME) values (" + k + ", " + std::to_string(p.owner) + ", " + k +
        ", 'x', '" + p.name + "')");
    add("insert into OTZSHT (KP, PKG) values (" + k + ", " + p.pkg + ")");
    add("insert into KDT2IOB (KP, CONTRACTN, CONTRACTDATE, KSTR, KREGP, KRAIP, KGORP) values (" + k + ", 'ТД-" + k +
        "', '2020-03-05', 'Россия', 'Тульская обл.', '', 'г. Тула')");
    history(p.kp, p.owner, "2020-03-05", 21, 20000, 1, "Инспектор");
    history(p.kp, p.owner, "2026-11-01", 51, p.okl51, p.stv51, "Инспектор");
    if (*p.last) history(p.kp, p.owner, std::string(p.last).substr(4).c_str(), 121, 32000, 1, "Инспектор");
  }
  add("insert into ZPADRES (KP, REGN, RAI, GOR, NAS, ULNAME, DOM, KORP, KV) values (101, 'ТУЛЬСКАЯ ОБЛ.', '', "
      "'ТУЛА', '', 'ЛЕНИНА УЛ.', '5', '', '12')");
  add("insert into ZPADS1 (KP, SER, NUM, ORG, NORG, FDVD, FDR) values (101, '7001', '123456', 'ОВД', "
      "'ОВД Тулы', '2015-04-01', '1980-01-02')");
  add("insert into ZPADRES (KP, GOR) values (102, 'ТУЛА')");
  add("insert into ZPADS1 (KP, FDR) values (102, '1990-06-07')");
  return s;
}

std::string database() {
  static const FixtureScript script("tariff_agreements", rows(), {"schema.sql", "zpclients.sql"});
  return script.path();
}

class TariffAgreements : public ReportFixture {
 protected:
  std::string database() const override { return hrdoc::test::database(); }

  // The window's entries as the clerk fills them; the parameter dialog confirmed for {dept}.
  std::map<std::string, std::string> entries() const {
    return {{"edDTOPr", "01.12.2026"}, {"edDTVPr", "01.01.2027"},  {"edNumPr", "12"},
            {"edOsnPr", "Устава"},     {"edFioRuk", "Смирнов Алексей Петрович"},
            {"edDolRuk", "Генеральный директор"}, {"mmSogl", "Начальник отдела кадров\nЮрисконсульт"}};
  }
  int run(const char* command, int dept, std::map<std::string, std::string> values) {
    ctx().set_dates(text::encode_date(2026, 12, 5), text::encode_date(2026, 12, 1), text::encode_date(2026, 12, 31));
    ui().form_answers.push_back({{{"dept", std::to_string(dept)}, {"depts", std::to_string(dept)}}, false, ""});
    ui().form_answers.push_back({std::move(values), false, ""});
    return call(command);
  }
  // The agreements of the Word document: each one's paragraphs joined by "|".
  std::vector<std::string> agreements() {
    EXPECT_EQ(ui().documents.size(), 1u);
    if (ui().documents.empty()) return {};
    std::vector<std::string> out;
    for (const std::string& p : word::Document::open(ui().documents.back()).paragraphs()) {
      if (p.rfind("ДОПОЛНИТЕЛЬНОЕ СОГЛАШЕНИЕ", 0) == 0) out.emplace_back();
      if (!out.empty()) out.back() += p + "|";
    }
    return out;
  }
  static bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
};

TEST_F(TariffAgreements, hrdoc360_gives_each_eligible_employee_a_page_in_the_wording_of_the_group) {
  ASSERT_EQ(run("HRDOC360", 5, entries()), 0);
  const std::vector<std::string> a = agreements();
  ASSERT_EQ(a.size(), 4u);  // 101, 102, 103, 105: no salary, an earlier dismissal and no rate leave out 104, 106, 108
  struct Expected {
    const char* name;
    const char* unit;
    bool tariff;  // groups 1 to 3: the tariff rate; others and none: the salary
    const char* amount;  // the amount in words as the suite writes it: its "pублей" has a Latin p
  };
  const Expected expected[] = {
      {"АНДРЕЕВ АНДРЕЙ ПАВЛОВИЧ", "Инспектор отдела Отдел кадров АНДРЕЕВ АНДРЕЙ ПАВЛОВИЧ", true, "30000,00 (Тридцать тысяч pублей 00 копеек)"},
      {"Борисова Вера", "Инспектор группы Группа учета отдела Отдел кадров Борисова Вера", false,
       "41000,50 (Сорок одна тысяча pублей 50 копеек)"},
      {"Волков Глеб Ильич", "Инспектор отдела Отдел кадров Волков Глеб Ильич", false, "35000,00"},
      {"Дёмин Егор Ильич", "Инспектор отдела Отдел кадров Дёмин Егор Ильич", true, "32000,00"},
  };
  for (size_t i = 0; i < a.size(); ++i) {
    SCOPED_TRACE(expected[i].name);
    EXPECT_TRUE(has(a[i], "№ 12|к трудовому договору № ТД-" + std::to_string(i == 3 ? 105 : 101 + i) +
                              " от 5 марта 2020 года|"));
    EXPECT_TRUE(has(a[i], "«01» декабря 2026 г."));
    EXPECT_TRUE(has(a[i], "в лице Генеральный директор, Смирнов Алексей Петрович, действующего на основании Устава"));
    EXPECT_TRUE(has(a[i], std::string("и ") + expected[i].unit + ", именуемый"));
    EXPECT_TRUE(has(a[i], std::string("Работнику (") + expected[i].unit + ")"));
    EXPECT_EQ(has(a[i], "тарифную ставку"), expected[i].tariff);
    EXPECT_EQ(has(a[i], "должностной оклад"), !expected[i].tariff);
    EXPECT_TRUE(has(a[i], expected[i].amount)) << a[i];
    EXPECT_TRUE(has(a[i], "с «01» января 2027 г."));
    EXPECT_TRUE(has(a[i], "Согласовано:|Начальник отдела кадров\nЮрисконсульт|"));
    EXPECT_TRUE(has(a[i], "А.П.Смирнов")) << a[i];
    EXPECT_FALSE(has(a[i], "$f")) << a[i];
  }
  EXPECT_TRUE(has(a[0], "А.П.Андреев"));
  EXPECT_TRUE(has(a[1], "В.Борисова"));  // a missing patronymic drops with its dot
  // Requisites: capitalised address parts, empty passport parts as blanks.
  EXPECT_TRUE(has(a[0], "Адрес прописки\nТульская обл.,\n Тула,\n Ленина ул., 5, 12\nПаспорт 7001 № 123456,\nОВД Тулы \n"
                        "Дата выдачи 01.04.2015\nМесто рождения\nРоссия, Тульская обл., г. Тула\nДата рождения\n02.01.1980"));
  EXPECT_TRUE(has(a[1], "Адрес прописки\n,\n Тула\nПаспорт    №      \nДата выдачи\nМесто рождения\nРоссия, "
                        "Тульская обл., г. Тула\nДата рождения\n07.06.1990"))
      << a[1];
}

TEST_F(TariffAgreements, hrdoc360_window_checks_and_nobody_eligible) {
  struct Case {
    const char* clear;     // the entry left empty
    int dept;
    const char* message;   // the box shown; "" none
  };
  const Case cases[] = {
      {"edDTOPr", 5, "Не указана дата выписки доп. соглашения!"},
      {"edDTVPr", 5, "Не указана дата вступление в действие доп соглашения!"},
      {"", 8, "Нет сотрудников для печати доп. соглашений"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    ui().boxes.clear();
    ui().documents.clear();
    auto values = entries();
    if (*c.clear) values[c.clear] = "";
    run("HRDOC360", c.dept, values);
    ASSERT_FALSE(ui().boxes.empty());
    EXPECT_EQ(ui().boxes.back().text, c.message);
    EXPECT_TRUE(ui().documents.empty());
  }
}

TEST_F(TariffAgreements, a_missing_template_is_named_and_nothing_is_written) {
  const std::string empty = work_dir().string() + "/";  // a folder without templates
  ctx().ext().template_dir = empty;
  run("HRDOC360", 5, entries());
  ASSERT_EQ(ui().boxes.size(), 1u);
  EXPECT_EQ(ui().boxes.back().text, "Не найден шаблон " + empty + "HRDOC360.docx");
  EXPECT_TRUE(ui().documents.empty());
}

TEST_F(TariffAgreements, the_signatory_picked_by_name_brings_the_position_a_cancelled_pick_changes_nothing) {
  int picks = 0;
  ui().on_form = [&](ui::Form& form) {
    ui::Field* fio = form.find("edFioRuk");
    if (!fio) return;
    ui().form_answers.push_front({{}, true, ""});  // the picker's search, cancelled
    EXPECT_FALSE(fio->lookup(*fio, form));
    EXPECT_EQ(fio->value, "");
    ui().form_answers.push_front({{{"name", "андреев"}}, false, ""});  // one match: no list to choose from
    picks += fio->lookup(*fio, form);
  };
  auto values = entries();
  values.erase("edFioRuk");
  values.erase("edDolRuk");
  ASSERT_EQ(run("HRDOC360", 5, values), 0);
  EXPECT_EQ(picks, 1);
  EXPECT_EQ(ctx().KP, 5);
  EXPECT_EQ(ctx().kpsew_keys(), std::vector<int>{5});
  const std::vector<std::string> a = agreements();
  ASSERT_FALSE(a.empty());
  EXPECT_TRUE(has(a[0], "в лице Инспектор ОК, АНДРЕЕВ АНДРЕЙ ПАВЛОВИЧ, действующего")) << a[0];
  EXPECT_TRUE(has(a[0], "А.П.Андреев"));
}

TEST_F(TariffAgreements, hrdoc330_fills_a_page_per_employee_with_a_salary) {
  ASSERT_EQ(run("HRDOC330", 5, entries()), 0);
  ASSERT_EQ(ui().documents.size(), 1u);
  sheet::Book book(ui().documents.back());
  const sheet::Sheet& s = book.sheet(1);
  std::vector<std::string> names;
  std::vector<int> titles;
  for (int r = 1; r <= s.last_row(); ++r) {
    if (s.text(r, 1) == "ДОПОЛНИТЕЛЬНОЕ СОГЛАШЕНИЕ") titles.push_back(r);
    const std::string t = s.text(r, 7);
    if (t.size() > 2 && t.front() == '(' && t.back() == ')') names.push_back(t);
  }
  // The hire's salary counts here, so 108 (no rate on the grid's record) is in; 104's latest
  // record has no salary.
  EXPECT_EQ(names, (std::vector<std::string>{"(АНДРЕЕВ АНДРЕЙ ПАВЛОВИЧ)", "(Борисова Вера)", "(Волков Глеб Ильич)",
                                             "(Дёмин Егор Ильич)", "(Ильин Кирилл Ильич)"}));
  ASSERT_EQ(titles.size(), 5u);
  // Each agreement begins a page.
  EXPECT_EQ(s.row_breaks(), std::vector<int>(titles.begin() + 1, titles.end()));
  const int r = titles[1];
  EXPECT_EQ(s.text(r + 1, 6), "№ ТД-102 от 5 марта 2020 года.");
  EXPECT_EQ((Line{s.text(r + 2, 9), s.text(r + 2, 10), s.text(r + 2, 12)}), (Line{"1", "декабря", "2026"}));
  EXPECT_EQ(s.text(r + 3, 1).find("группы ГУ отдела ОК Инспектор Борисова Вера в лице Генеральный директор "
                                  "Смирнов Алексей Петрович, действующего на основании Устава"),
            0u);
  EXPECT_NE(s.text(r + 4, 1).find("трудового договора № ТД-102 от 5 марта 2020 года, заключенного"), std::string::npos);
  EXPECT_EQ(s.text(r + 6, 1).find("2. Настоящее соглашение вступает в силу 1 декабря 2026 года"), 0u);
  EXPECT_EQ(s.text(r + 9, 1), "ОАО \"Заречтрубопровод\"");
  EXPECT_EQ(s.text(r + 9, 7), "Адрес прописки\nТУЛА, \nПаспорт  №\nДата выдачи \nМесто рождения Тульская обл., г. Тула\n"
                              "Дата рождения: 07.06.1990");
  EXPECT_EQ((Line{s.text(r + 11, 3), s.text(r + 11, 9)}), (Line{"Смирнов Алексей Петрович", "Борисова Вера"}));
  EXPECT_EQ(s.text(r + 14, 1), "Начальник отдела кадров\nЮрисконсульт");
}

}  // namespace
}  // namespace hrdoc::test
