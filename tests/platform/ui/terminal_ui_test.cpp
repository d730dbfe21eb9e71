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
    long end = std::ftell(file);
    std::string s(static_cast<size_t>(end), '\0');
    std::rewind(file);
    size_t n = std::fread(s.data(), 1, s.size(), file);
    s.resize(n);
    std::fseek(file, 0, SEEK_END);
    return s;
  }
  std::FILE* file;
};

TEST(TerminalWindow, draws_one_live_line_with_caption_status_bar_and_clock) {
  Stream out, err, in;
  TerminalUi::Options o;
  o.force_live = true;
  TerminalUi ui(o, out.file, err.file, in.file);
  auto w = ui.open_window("Печать графика отпусков");
  EXPECT_EQ(err.text(), "");  // nothing before the window is shown
  w->show();
  w->set_status("Печать данных: Иванов");
  w->set_progress(5, 10);
  w->set_clock("00:05 -- 0 -- 0");
  std::string text = err.text();
  EXPECT_NE(text.find("\r\033[KПечать графика отпусков | Печать данных: Иванов [##########..........]  50% "
                      "00:05 -- 0 -- 0"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find('\n'), std::string::npos);  // one line, redrawn in place
  w->close();
  EXPECT_EQ(err.text().substr(err.text().size() - 4), "\r\033[K");
  EXPECT_EQ(out.text(), "");
}

TEST(TerminalWindow, stays_quiet_when_stderr_is_not_a_terminal) {
  Stream out, err, in;
  TerminalUi ui(TerminalUi::Options{}, out.file, err.file, in.file);
  auto w = ui.open_window("Отчёт");
  w->show();
  w->set_status("Подготовка информации");
  w->set_progress(1, 2);
  w->set_clock("00:01 -- 0 -- 0");
  w->close();
  EXPECT_EQ(err.text(), "");
}

TEST(TerminalWindow, quiet_option_silences_it_on_a_terminal_too) {
  Stream out, err, in;
  TerminalUi::Options o;
  o.force_live = true;
  o.quiet = true;
  TerminalUi ui(o, out.file, err.file, in.file);
  auto w = ui.open_window("Отчёт");
  w->show();
  w->set_status("x");
  EXPECT_EQ(err.text(), "");
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
  Stream out, err, in;
  TerminalUi::Options o;
  o.values = {{"edDTOPr", "2026-12-01"}, {"kind", "непрерывный"}, {"lv", "all"}, {"other", "1"}};
  TerminalUi ui(o, out.file, err.file, in.file);
  Form f = order_form();
  ASSERT_TRUE(ui.edit_form(f));
  EXPECT_EQ(f.pressed, "BitBtn1");
  EXPECT_EQ(f.find("edDTOPr")->value, "01.12.2026");
  EXPECT_EQ(f.find("kind")->index(), 1);
  EXPECT_EQ(f.find("lv")->ticked().size(), 2u);
  EXPECT_EQ(ui.unused_values(), (std::vector<std::string>{"other"}));
  EXPECT_EQ(ui.error_boxes(), 0);
}

TEST(TerminalForm, batch_refuses_a_bad_value_with_an_error_box) {
  Stream out, err, in;
  TerminalUi::Options o;
  o.values = {{"edDTOPr", "31.02.2026"}, {"kind", "0"}};
  TerminalUi ui(o, out.file, err.file, in.file);
  Form f = order_form();
  EXPECT_FALSE(ui.edit_form(f));
  EXPECT_EQ(ui.error_boxes(), 1);
  EXPECT_NE(err.text().find("--set edDTOPr=31.02.2026"), std::string::npos);
}

TEST(TerminalForm, batch_without_a_required_choice_names_the_missing_set) {
  Stream out, err, in;
  TerminalUi ui(TerminalUi::Options{}, out.file, err.file, in.file);
  Form f = order_form();
  EXPECT_FALSE(ui.edit_form(f));
  EXPECT_EQ(ui.error_boxes(), 1);
  EXPECT_NE(err.text().find("--set kind=..."), std::string::npos) << err.text();
  EXPECT_FALSE(ui.can_ask_again());
}

TEST(TerminalForm, interactive_edit_all_where_enter_keeps_an_entry_and_moves_on) {
  // Enter first: the required choice is missing, so the form stays. Then "e" walks the entries:
  // keep the date, type a number, choose item 1, tick everything, and confirm.
  Stream out, err, in("\ne\n\n12\n1\n+\n\n\n");
  TerminalUi::Options o;
  o.interactive = true;
  TerminalUi ui(o, out.file, err.file, in.file);
  Form f = order_form();
  f.find("edDTOPr")->value = "01.12.2026";
  ASSERT_TRUE(ui.edit_form(f));
  EXPECT_EQ(f.pressed, "BitBtn1");
  EXPECT_EQ(f.find("edDTOPr")->value, "01.12.2026");
  EXPECT_EQ(f.find("edNumPr")->value, "12");
  EXPECT_EQ(shown_value(*f.find("kind")), "Непрерывный");
  EXPECT_EQ(f.find("lv")->ticked().size(), 2u);
  EXPECT_NE(err.text().find("Не заполнено: Вид стажа"), std::string::npos);
}

TEST(TerminalForm, interactive_check_list_toggles_and_unchecks_all) {
  Stream out, err, in("4\n+\n0\n\n4\n-\n1\n\n3\n0\n\n");
  TerminalUi::Options o;
  o.interactive = true;
  TerminalUi ui(o, out.file, err.file, in.file);
  Form f = order_form();
  ASSERT_TRUE(ui.edit_form(f));
  EXPECT_EQ(f.find("lv")->ticked(), (std::vector<size_t>{1}));
}

TEST(TerminalForm, interactive_cancel_button_and_bad_entries) {
  Stream out, err, in("1\n32.01.2026\n05.01.2026\nq\n");
  TerminalUi::Options o;
  o.interactive = true;
  TerminalUi ui(o, out.file, err.file, in.file);
  Form f = order_form();
  EXPECT_FALSE(ui.edit_form(f));
  EXPECT_EQ(f.pressed, "BitBtn2");
  EXPECT_EQ(f.find("edDTOPr")->value, "05.01.2026");
  EXPECT_NE(err.text().find("is not a date"), std::string::npos);
}

TEST(TerminalForm, lookup_button_and_form_actions) {
  Stream out, err, in("1\n...\nz\n\n");
  TerminalUi::Options o;
  o.interactive = true;
  TerminalUi ui(o, out.file, err.file, in.file);
  Form f;
  f.caption = "Стаж";
  int zooms = 0;
  f.fields = {lookup_field("kind", "Вид стажа", [](Field& fld) {
    fld.value = "Общий";
    return true;
  })};
  f.actions = {{'z', "Масштаб", [&] { ++zooms; }}};
  ASSERT_TRUE(ui.edit_form(f));
  EXPECT_EQ(f.find("kind")->value, "Общий");
  EXPECT_EQ(zooms, 1);
  EXPECT_NE(err.text().find("z = Масштаб"), std::string::npos);
}

TEST(TerminalChoose, numbered_list_on_a_terminal_nothing_in_batch) {
  Stream out, err, in("3\n");
  TerminalUi::Options o;
  TerminalUi batch(o, out.file, err.file, in.file);
  EXPECT_EQ(batch.choose("Масштаб", {" 50%", " 60%", " 70%"}, 0), -1);
  o.interactive = true;
  TerminalUi term(o, out.file, err.file, in.file);
  EXPECT_EQ(term.choose("Масштаб", {" 50%", " 60%", " 70%"}, 0), 2);
}

}  // namespace
