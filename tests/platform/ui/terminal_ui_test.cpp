#include "ui/terminal_ui.h"

#include <gtest/gtest.h>

#include <cstdio>
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
  f.fields = {lookup_field("kind", "Вид стажа", [](Field& fld) { return fld.value = "Общий", true; })};
  f.actions = {{'z', "Масштаб", [&] { ++zooms; }}};
  ASSERT_TRUE(t.ui.edit_form(f));
  EXPECT_EQ(f.find("kind")->value, "Общий");
  EXPECT_EQ(zooms, 1);
  EXPECT_NE(t.err.text().find("z = Масштаб"), std::string::npos);
}

TEST(TerminalChoose, numbered_list_on_a_terminal_nothing_in_batch) {
  Term batch(options(false), "3\n"), term(options(false, true), "3\n");
  EXPECT_EQ(batch.ui.choose("Масштаб", {" 50%", " 60%", " 70%"}, 0), -1);
  EXPECT_EQ(term.ui.choose("Масштаб", {" 50%", " 60%", " 70%"}, 0), 2);
}

}  // namespace
