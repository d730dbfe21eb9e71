// The supplementary agreements "HRDOC260", "HRDOC270" and "HRDOC320" run through main_dll on the
// fixture database: their entry checks, who gets an agreement, and the cells of the sheets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reports/agreements/agreements_fixture.h"
#include "sheet/book.h"

namespace hrdoc::test {
namespace {

using Answer = ui::ScriptedUi::FormAnswer;

const Answer kCancel{{}, true, {}};

struct Cell {
  int row, col;
  std::string text;
};

// The agreement sheet whose employee's short name stands at (row, col).
const sheet::Sheet* sheet_of(sheet::Book& b, int row, int col, const std::string& name) {
  for (int i = 1; i <= b.sheet_count(); ++i)
    if (b.sheet(i).text(row, col) == name) return &b.sheet(i);
  return nullptr;
}

void expect_cells(const sheet::Sheet& s, const std::vector<Cell>& cells) {
  for (const Cell& c : cells) EXPECT_EQ(s.text(c.row, c.col), c.text) << "row " << c.row << ", column " << c.col;
}

class Agreements : public AgreementsFixture {};

// The checks of the modal windows, each failure shown and the window offered again.
TEST_F(Agreements, entries_are_checked_in_order_and_the_window_stays) {
  struct Case {
    const char* command;
    int kp;
    TDateTime d;
    std::vector<Answer> windows;
    std::vector<std::string> messages;
  };
  const Answer salary{{{"edDTOPr", "01.12.2026"}, {"edDTVPr", "01.01.2027"}}, false, {}};
  const std::vector<Case> cases = {
      {"HRDOC260", 5, 0, {salary}, {"Не указано текущее число!"}},
      {"HRDOC260", 0, kAgreementDate, {salary}, {"Не указано подразделение"}},
      {"HRDOC260",
       5,
       kAgreementDate,
       {{}, {{{"edDTOPr", "01.12.2026"}}, false, {}}, kCancel},
       {"Не указана дата выписки приказа об индексации!",
        "Не указана дата вступление в действие приказа об индексации!"}},
      {"HRDOC320",
       5,
       kAgreementDate,
       {{}, {{{"edDTOPr", "05.01.2027"}}, false, {}}, {{{"edNumDov", "17"}}, false, {}}, kCancel},
       {"Не указана дата вступления в действие!", "Не указан номер доверенности!", "Не указана дата доверенности!"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command + std::string(" ") + c.messages.front());
    TearDown();
    SetUp();
    run(c.command, c.kp, c.windows, c.d);
    EXPECT_EQ(messages(), c.messages);
    EXPECT_TRUE(ui().documents.empty());
  }
}

TEST_F(Agreements, hrdoc260_writes_a_sheet_per_employee_with_a_salary_and_a_rate) {
  ASSERT_EQ(run("HRDOC260", 5,
                {{{{"edDTOPr", "01.12.2026"}, {"edDTVPr", "01.01.2027"}, {"edNumPr", "245"}, {"edOsnPr", "Устава"}},
                  false,
                  {}}}),
            0);
  EXPECT_TRUE(messages().empty());
  sheet::Book& b = result();
  // 101, 102 and 107; not 103 (salary 0), 104 (rate 0), 105 (no order of the types), 106
  // (dismissed); the template sheet is gone.
  ASSERT_EQ(b.sheet_count(), 3);
  EXPECT_EQ(b.find_sheet("Соглашение"), nullptr);
  const sheet::Sheet* ivanov = sheet_of(b, 26, 73, "И.П.Иванов");
  ASSERT_NE(ivanov, nullptr);
  const std::string reference = "№ 117 от 1 марта 2019 года";
  expect_cells(
      *ivanov,
      {{3, 1, reference},
       {4, 76, "5"},
       {4, 84, "декабря"},
       {4, 94, "2026"},
       {5, 1,
        "     Открытое акционерное общество  «ЗАРЕЧНЫЕ  МАГИСТРАЛЬНЫЕ ТРУБОПРОВОДЫ», в дальнейшем \"Работодатель\", в "
        "лице Генерального директора Сергеева Олега Павловича, действующего на основании Устава, с одной стороны  и "
        "ИВАНОВ ИВАН ПЕТРОВИЧ, Машинист насосных установок Цех подготовки нефти ОАО «Заречтрубопровод», именуемый в "
        "дальнейшем  «Работник», с другой стороны, далее вместе именуемые «Стороны», заключили настоящее "
        "дополнительное соглашение о нижеследующем:"},
       {12, 66, reference},
       {14, 74, "01.01.2027"},
       {14, 88, "245"},
       {15, 15, "1"},
       {15, 23, "декабря"},
       {15, 34, "2026"},
       {15, 79, "41600"},
       {16, 1, "(сорок одна тысяча шестьсот рублей) в месяц."},
       {17, 61, "5"},
       {17, 71, "декабря"},
       {17, 82, "2026"},
       {19, 1, reference + "."},
       {24, 1,
        "625000, Свердловская область, Заречный, ОАО \"Заречтрубопровод\", ИНН 7201000001, КПП 720101001, Код ОКПО "
        "01234567, ОКОНХ 11170, Заречный, ул. Трубная, 1"},
       {24, 73,
        "Адрес прописки\nТюменская обл., Заречный р-н, г. Заречный, ул. Мира, 5, 2, 12\nПаспорт 71 05 № 123456,\n"
        "ОВД г. Заречного\nДата выдачи 02.04.2005\nМесто рождения Тюменская обл., Ишимский р-н, г. Ишим\n"
        "Дата рождения: 03.02.1980"},
       {25, 1, "ОАО \"Заречтрубопровод\""},
       {26, 1, "О.П.Сергеева"},
       {30, 73, "Е.Н.Кадрова"},
       {33, 30, "(И.П.Иванов)"}});
  // No contract number: no reference; two words of a name; the unit above the section.
  const sheet::Sheet* petrova = sheet_of(b, 26, 73, "А.Петрова");
  ASSERT_NE(petrova, nullptr);
  expect_cells(*petrova, {{3, 1, ""}, {12, 66, ""}, {19, 1, ""}, {16, 1, "(двадцать один рубль) в месяц."}});
  EXPECT_NE(petrova->text(5, 1).find("ПЕТРОВА  АННА, Лаборант химического анализа Цех подготовки нефти ОАО"),
            std::string::npos);
  const sheet::Sheet* nikolaeva = sheet_of(b, 26, 73, "Н.Н.Николаева");
  ASSERT_NE(nikolaeva, nullptr);
  EXPECT_EQ(nikolaeva->text(16, 1), "(два рубля) в месяц.");
}

TEST_F(Agreements, hrdoc260_leaves_out_a_region_the_classifier_does_not_know) {
  exec("update ZPPASP set KODREG = 999 where P = 1");
  run("HRDOC260", 5, {{{{"edDTOPr", "01.12.2026"}, {"edDTVPr", "01.01.2027"}}, false, {}}});
  EXPECT_EQ(result().sheet(1).text(24, 1).rfind("625000, Заречный, ОАО", 0), 0u) << result().sheet(1).text(24, 1);
}

TEST_F(Agreements, without_an_agreement_to_make_there_is_no_document) {
  struct Case {
    const char* command;
    Answer window;
  };
  for (const Case& c : {Case{"HRDOC260", {{{"edDTOPr", "01.12.2026"}, {"edDTVPr", "01.01.2027"}}, false, {}}},
                        Case{"HRDOC320", {{{"edDTOPr", "05.01.2027"}, {"edDtDov", "10.01.2026"}, {"edNumDov", "1"}}, false, {}}},
                        Case{"HRDOC270", {{{"lv", "all"}}, false, "bbPrnAllCheck"}}}) {
    SCOPED_TRACE(c.command);
    TearDown();
    SetUp();
    EXPECT_EQ(run(c.command, 7, {c.window}), 0);
    ASSERT_EQ(ui().boxes.size(), 1u);
    EXPECT_EQ(ui().boxes[0].caption, "Информация");
    EXPECT_EQ(ui().boxes[0].text, "Нет сотрудников для печати доп. соглашений");
    EXPECT_TRUE(ui().documents.empty());
  }
}

TEST_F(Agreements, hrdoc270_lists_the_eligible_and_prints_the_ticked_in_list_order) {
  // Petrova (102) unticked after the list was filled.
  ui().on_form = [](ui::Form& f) {
    if (f.name == "Tfmhrd270" && f.pressed.empty()) f.find("lv")->tick_keys({101, 107});
  };
  ASSERT_EQ(run("HRDOC270", 5, {{{{"edOsnPr", "Устава"}}, false, "bbPrnAllCheck"}}), 0);
  ASSERT_FALSE(ui().forms.empty());
  const ui::Field* lv = ui().forms.back().find("lv");
  ASSERT_NE(lv, nullptr);
  EXPECT_EQ(lv->columns, (std::vector<std::string>{"Подразделение", "ФИО"}));
  ASSERT_EQ(lv->keys.size(), 3u);  // 101, 102, 107
  EXPECT_EQ(lv->caption, "Печать соглашений о внесении изменений в трудовой договор на 05.12.2026");
  EXPECT_EQ(ui().forms.back().find("edDTOPr")->value, "05.12.2026");
  for (size_t i = 0; i < lv->keys.size(); ++i)
    EXPECT_EQ(lv->cells[i], (std::vector<std::string>{"Цех подготовки нефти", "Сотр. " + std::to_string(lv->keys[i])}));

  sheet::Book& b = result();
  ASSERT_EQ(b.sheet_count(), 2);
  std::vector<std::string> printed, expected;
  for (int i = 1; i <= b.sheet_count(); ++i) printed.push_back(b.sheet(i).text(21, 104));
  for (long long key : lv->keys)
    if (key != 102) expected.push_back(key == 101 ? "И.П.Иванов" : "Н.Н.Николаева");
  EXPECT_EQ(printed, expected);

  const sheet::Sheet* ivanov = sheet_of(b, 21, 104, "И.П.Иванов");
  ASSERT_NE(ivanov, nullptr);
  expect_cells(
      *ivanov,
      {{4, 1, "05.12.2026 г."},
       {5, 1,
        "     Открытое Акционерное Общество  «Заречтрубопровод» в лице Генерального директора Сергеева Олега Павловича, "
        "действующего на основании Устава, в дальнейшем \"Работодатель\", с одной стороны и ИВАНОВ ИВАН ПЕТРОВИЧ, "
        "Машинист насосных установок Цех подготовки нефти ОАО «Заречтрубопровод»  в дальнейшем \"Работник\", с другой "
        "стороны, согласились внести в трудовой договор № 117 от 01.03.2019г. следующие изменения:"},
       {12, 3, "С  5 декабря 2026 года работнику устанавливается с его согласия разъездной характер работы."},
       {17, 75,
        "ИВАНОВ ИВАН ПЕТРОВИЧ\nПаспорт 71 05 №123456\nВыдан: ОВД г. Заречного 02.04.2005\nМесто прописки: Тюменская "
        "обл., Заречный р-н, г. Заречный, ул. Мира, д. 5, корп. 2, кв. 12"},
       {21, 23, "О.П.Сергеева"},
       {27, 52, "(И.П.Иванов)"}});
  EXPECT_EQ(ivanov->text(19, 1).rfind("625000, Свердловская область, Заречный", 0), 0u);
}

TEST_F(Agreements, hrdoc270_close_and_an_empty_tick_list_write_nothing) {
  run("HRDOC270", 5, {{{}, false, "bbClose"}});
  EXPECT_TRUE(ui().boxes.empty());
  EXPECT_TRUE(ui().documents.empty());
  TearDown();
  SetUp();
  run("HRDOC270", 5, {{{{"lv", "none"}}, false, "bbPrnAllCheck"}});
  EXPECT_EQ(messages(), std::vector<std::string>{"Нет сотрудников для печати доп. соглашений"});
  EXPECT_TRUE(ui().documents.empty());
}

TEST(AgreementsWithoutDatabase, hrdoc270_says_it_needs_the_database) {
  TestContext t;
  std::string self = std::string(HRDOC_BIN_DIR) + "hrdoc", cmd = "HRDOC270";
  void* argv[2] = {self.data(), cmd.data()};
  main_dll(&t.ctx, 2, argv);
  ASSERT_EQ(t.ui.boxes.size(), 1u);
  EXPECT_EQ(t.ui.boxes[0].caption, "Ошибка");
  EXPECT_NE(t.ui.boxes[0].text.find("--db"), std::string::npos);
  EXPECT_TRUE(t.ui.forms.size() == 1 && t.ui.forms[0].name == "USR");  // the window never opened
}

TEST_F(Agreements, hrdoc320_takes_transfers_and_hires_with_their_grade) {
  ASSERT_EQ(
      run("HRDOC320", 5,
          {{{{"edDTOPr", "05.01.2027"}, {"edDtDov", "10.01.2026"}, {"edNumDov", "17"}, {"edOsnPr", "Устава"}}, false, {}}}),
      0);
  sheet::Book& b = result();
  // 101 (the hire: the transfer of 20.12.2026 comes after the report date) and 102; 107 has
  // only an indexation.
  ASSERT_EQ(b.sheet_count(), 2);
  const sheet::Sheet* ivanov = sheet_of(b, 26, 73, "И.П.Иванов");
  ASSERT_NE(ivanov, nullptr);
  expect_cells(
      *ivanov,
      {{3, 1, "№ 117 от 1 марта 2019 года"},
       {4, 76, "05"},
       {4, 84, "декабря"},
       {4, 94, "2026"},
       {7, 45, "17"},
       {7, 59, "10.01.2026"},
       {8, 1,
        "«Работодатель», с одной стороны и ИВАНОВ ИВАН ПЕТРОВИЧ, Машинист насосных установок, именуемый в дальнейшем  "
        "«Работник», с другой стороны, заключили настоящее соглашение о нижеследующем:"},
       {8, 35, "ИВАНОВ"},
       {9, 1, "ИВАН ПЕТРОВИЧ"},
       {12, 1,
        "1. Работник с 05 января 2027 года переводится, по его заявлению, на должность «Машинист насосных установок» "
        "Перевалочного комплекса «Приречье» ОАО «Заречтрубопровод» по « 4 » разряду оплаты труда « 30000 » рублей  ( "
        "Тридцать тысяч рублей) в месяц."},
       {15, 1,
        "2. Работник обязан качественно и своевременно выполнять трудовые обязанности, изложенные в должностной "
        "инструкции «Машинист насосных установок» Перевалочного комплекса «Приречье» ОАО «Заречтрубопровод»."},
       {18, 1,
        "3. Настоящее соглашение вступает в силу 05 января 2027 года и действует в рамках действующего трудового "
        "законодательства  Российской Федерации."},
       {24, 1,
        "625000, Свердловская область, Заречный, ОАО «Заречные магистральные трубопроводы», ИНН 7201000001, КПП "
        "720101001, Код ОКПО 01234567, ОКОНХ 11170"},
       {24, 73,
        "Адрес места жительства \nТюменская обл., Заречный р-н, г. Заречный, ул. Мира, 5, 2, 12,\nПаспорт\n"
        "71 05 №123456, ОВД г. Заречного\nДата выдачи 02.04.2005\nМесто рождения Тюменская обл., Ишимский р-н, "
        "г. Ишим\nДата рождения 03.02.1980"},
       {25, 102, "Машинист насосных установок"}});
  const std::string copy = ivanov->text(28, 2);
  EXPECT_EQ(copy.rfind("Экземпляр соглашения получил ", 0), 0u) << copy;
  EXPECT_EQ(copy.substr(copy.size() - std::string(" « 05 » января 2027 года").size()), " « 05 » января 2027 года");

  const sheet::Sheet* petrova = sheet_of(b, 26, 73, "А.Петрова");
  ASSERT_NE(petrova, nullptr);
  EXPECT_NE(petrova->text(12, 1).find("по « 3 » разряду оплаты труда « 21 » рублей  ( Двадцать один рублей) в месяц."),
            std::string::npos)
      << petrova->text(12, 1);
  EXPECT_EQ(petrova->text(3, 1), "");
}

}  // namespace
}  // namespace hrdoc::test
