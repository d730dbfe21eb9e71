#include "ui/terminal_ui.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <string>

namespace {

using namespace hrdoc::ui;

// A stream the renderer writes to or reads from, and what it holds.
struct Stream {
  explicit Stream(const std::string& input = {}) : file(std::tmpfile()) {
    std::fputs(input.c_str(), file);
    std::rewind(file);
  }
  ~Stream() { std::fclose(file); }
  std::string text() const {
    std::fflush(file);
    std::rewind(file);
    std::string s;
    for (int c; (c = std::fgetc(file)) != EOF;) s += static_cast<char>(c);
    return s;
  }
  std::FILE* file;
};

// The renderer on its own streams, the user's typing given as input.
struct Term {
  explicit Term(const TerminalUi::Options& o, const std::string& input = {})
      : in(input), ui(o, out.file, err.file, in.file) {}
  Stream out, err, in;
  TerminalUi ui;
};

TerminalUi::Options options(bool live, bool interactive = false, bool quiet = false) {
  TerminalUi::Options o;
  o.force_live = live;
  o.interactive = interactive;
  o.quiet = quiet;
  return o;
}

TEST(TerminalWindow, draws_one_live_line_with_caption_status_bar_and_clock) {
  Term t(options(true));
  auto w = t.ui.open_window("Печать графика отпусков");
  EXPECT_EQ(t.err.text(), "");  // nothing before the window is shown
  w->show();
  w->set_status("Печать данных: Иванов");
  w->set_progress(5, 10);
  w->set_clock("00:05 -- 0 -- 0");
  std::string text = t.err.text();
  EXPECT_NE(text.find("\r\033[KПечать графика отпусков | Печать данных: Иванов [##########..........]  50% "
                      "00:05 -- 0 -- 0"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find('\n'), std::string::npos);  // one line, redrawn in place
  w->close();
  EXPECT_EQ(t.err.text().substr(t.err.text().size() - 4), "\r\033[K");
  EXPECT_EQ(t.out.text(), "");
}

TEST(TerminalWindow, stays_quiet_when_stderr_is_not_a_terminal_or_when_told) {
  for (bool live : {false, true}) {
    Term t(options(live, false, live));
    auto w = t.ui.open_window("Отчёт");
    w->show();
    w->set_status("Подготовка информации");
    w->set_progress(1, 2);
    w->set_clock("00:01 -- 0 -- 0");
    w->close();
    EXPECT_EQ(t.err.text(), "") << live;
  }
}

Form order_form() {
  Form f;
  f.name = "Tfmhrd260";
  f.caption = "Доп. соглашения";
  f.fields = {date_field("edDTOPr", "Дата выписки"), text_field("edNumPr", "Номер"),
              pick_field("kind", "Вид стажа", {"Общий", "Непрерывный"}),
              checklist_field("lv", "Сотрудники", {"Иванов", "Петров"})};
  f.buttons = {{"BitBtn1", "Печать", false}, {"BitBtn2", "Отмена", true}};
  return f;
}

TEST(TerminalForm, batch_takes_set_values_and_presses_the_first_button) {
  TerminalUi::Options o;
  o.values = {{"edDTOPr", "2026-12-01"}, {"kind", "непрерывный"}, {"lv", "all"}, {"other", "1"}};
  Term t(o);
  Form f = order_form();
  ASSERT_TRUE(t.ui.edit_form(f));
  EXPECT_EQ(f.pressed, "BitBtn1");
  EXPECT_EQ(f.find("edDTOPr")->value, "01.12.2026");
  EXPECT_EQ(f.find("kind")->index(), 1);
  EXPECT_EQ(f.find("lv")->ticked().size(), 2u);
  EXPECT_EQ(t.ui.unused_values(), (std::vector<std::string>{"other"}));
  EXPECT_EQ(t.ui.error_boxes(), 0);
}

TEST(TerminalForm, batch_refuses_a_bad_or_missing_value_naming_its_set) {
  const std::pair<std::map<std::string, std::string>, const char*> cases[] = {
      {{{"edDTOPr", "31.02.2026"}, {"kind", "0"}}, "--set edDTOPr=31.02.2026"}, {{}, "--set kind=..."}};
  for (const auto& [values, named] : cases) {
    TerminalUi::Options o;
    o.values = values;
    Term t(o);
    Form f = order_form();
    EXPECT_FALSE(t.ui.edit_form(f)) << named;
    EXPECT_EQ(t.ui.error_boxes(), 1) << named;
    EXPECT_NE(t.err.text().find(named), std::string::npos) << t.err.text();
    EXPECT_FALSE(t.ui.can_ask_again());
  }
}

TEST(TerminalForm, interactive_edit_all_where_enter_keeps_an_entry_and_moves_on) {
  // Enter first: the required choice is missing, so the form stays. Then "e" walks the entries:
  // keep the date, type a number, choose item 1, tick everything, and confirm.
  Term t(options(false, true), "\ne\n\n12\n1\n+\n\n\n");
  Form f = order_form();
  f.find("edDTOPr")->value = "01.12.2026";
  ASSERT_TRUE(t.ui.edit_form(f));
  EXPECT_EQ(f.pressed, "BitBtn1");
  EXPECT_EQ(f.find("edDTOPr")->value, "01.12.2026");
  EXPECT_EQ(f.find("edNumPr")->value, "12");
  EXPECT_EQ(shown_value(*f.find("kind")), "Непрерывный");
  EXPECT_EQ(f.find("lv")->ticked().size(), 2u);
  EXPECT_NE(t.err.text().find("Не заполнено: Вид стажа"), std::string::npos);
}

TEST(TerminalForm, interactive_check_list_toggles_and_unchecks_all) {
  Term t(options(false, true), "4\n+\n0\n\n4\n-\n1\n\n3\n0\n\n");
  Form f = order_form();
  ASSERT_TRUE(t.ui.edit_form(f));
  EXPECT_EQ(f.find("lv")->ticked(), (std::vector<size_t>{1}));
}

TEST(TerminalForm, interactive_cancel_button_and_bad_entries) {
  Term t(options(false, true), "1\n32.01.2026\n05.01.2026\nq\n");
  Form f = order_form();
  EXPECT_FALSE(t.ui.edit_form(f));
  EXPECT_EQ(f.pressed, "BitBtn2");
  EXPECT_EQ(f.find("edDTOPr")->value, "05.01.2026");
  EXPECT_NE(t.err.text().find("is not a date"), std::string::npos);
}

TEST(TerminalForm, lookup_button_and_form_actions) {
  Term t(options(false, true), "1\n...\nz\n\n");
  Form f;
  f.caption = "Стаж";
  int zooms = 0;
  // The look-up fills the code entry beside its own.
  f.fields = {lookup_field("kind", "Вид стажа",
                           [](Field& fld, Form& form) {
                             form.find("code")->value = "2";
                             return fld.value = "Общий", true;
                           }),
              text_field("code", "Код")};
  f.actions = {{'z', "Масштаб", [&] { ++zooms; }}};
  ASSERT_TRUE(t.ui.edit_form(f));
  EXPECT_EQ(f.find("kind")->value, "Общий");
  EXPECT_EQ(f.find("code")->value, "2");
  EXPECT_EQ(zooms, 1);
  EXPECT_NE(t.err.text().find("z = Масштаб"), std::string::npos);
}

// Employees in columns, keyed by personnel number.
Field employees() {
  return checklist_field("lv", "Работники",
                         Table{{"Таб. №", "Ф.И.О."}, {{"17", "Иванов"}, {"4", "Петрова"}, {"230", "Сидоров"}, {"8", "Ёлкин"}}},
                         {17, 4, 230, 8});
}

TEST(TerminalChecklist, columns_ticks_by_index_or_typing_and_keys_that_survive_a_refill) {
  TerminalUi::Options o = options(false);
  o.values = {{"lv", "0,3"}};
  Term batch(o);
  Form f;
  f.fields = {employees()};
  ASSERT_TRUE(batch.ui.edit_form(f));
  EXPECT_EQ(f.fields[0].ticked_keys(), (std::vector<long long>{17, 8}));

  // On a terminal: tick all, untick all, then toggle rows 2 and 1.
  Term term(options(false, true), "1\n+\n-\n2\n1\n\n\n");
  Form g;
  g.fields = {employees()};
  ASSERT_TRUE(term.ui.edit_form(g));
  EXPECT_EQ(g.fields[0].ticked_keys(), (std::vector<long long>{4, 230}));
  std::string text = term.err.text();
  EXPECT_NE(text.find("Таб. № | Ф.И.О."), std::string::npos) << text;
  EXPECT_NE(text.find("230    | Сидоров"), std::string::npos) << text;

  // The rows read again in another order keep their ticks by key.
  Field again = checklist_field("lv", "Работники", Table{{"Таб. №"}, {{"230"}, {"9"}, {"4"}}}, {230, 9, 4});
  again.tick_keys(g.fields[0].ticked_keys());
  EXPECT_EQ(again.ticked(), (std::vector<size_t>{0, 2}));
}

TEST(TerminalForm, presses_go_in_order_to_the_forms_that_have_the_button) {
  // A settings dialog whose default button cancels, like the report settings windows.
  auto settings = [] {
    Form f;
    f.caption = "Настройка режимов работы";
    f.buttons = {{"bbtnOk", "OK", false}, {"bbtnCancel", "&Отказаться", true, false, true}};
    return f;
  };
  struct Case {
    std::deque<std::string> presses;
    bool confirmed;
    size_t left;  // presses not used
  };
  for (const Case& c : {Case{{}, false, 0}, Case{{"bbtnOk"}, true, 0}, Case{{"ok"}, true, 0},
                        Case{{"Отказаться", "bbtnOk"}, false, 1}, Case{{"Печать"}, false, 1}}) {
    TerminalUi::Options o = options(false);
    o.presses = c.presses;
    Term t(o);
    Form f = settings();
    EXPECT_EQ(t.ui.edit_form(f), c.confirmed) << (c.presses.empty() ? "" : c.presses.front());
    EXPECT_EQ(t.ui.unused_presses().size(), c.left);
  }
}

TEST(TerminalChoose, numbered_list_on_a_terminal_nothing_in_batch) {
  Term batch(options(false), "3\n"), term(options(false, true), "3\n");
  EXPECT_EQ(batch.ui.choose("Масштаб", {" 50%", " 60%", " 70%"}, 0), -1);
  EXPECT_EQ(term.ui.choose("Масштаб", {" 50%", " 60%", " 70%"}, 0), 2);
}

}  // namespace
