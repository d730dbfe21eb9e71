// Report windows run through main_dll with test reports registered for real commands of each
// launch kind: direct "HRDOC240", shown "HRDOC090"/"HRDOC090L" and "HRDOC100"/"HRDOC101",
// modal "HRDOC350". The parameter dialog is the real KVDLG.so of the build.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <cstdio>
#include <thread>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/commands.h"
#include "host/compark.h"
#include "host/report_window.h"
#include "text/date.h"
#include "ui/scripted_ui.h"
#include "ui/terminal_ui.h"

namespace {

using hrdoc::TReportWindow;
using hrdoc::ui::ScriptedUi;

// What the test windows saw, reset by each test.
struct Journal {
  std::vector<std::string> events;
  int arg = -1;
  compark* context = nullptr;
  bool shown_at_question = true;
  bool shown_at_job = false;
  int question_answer = -1;
  std::string entry_date, entry_number;
  int ticks = 0;        // clock ticks the shown job lets pass
  bool fail = false;    // the job throws
};
Journal journal;
ScriptedUi* current_ui = nullptr;

// The job of every test window: a short loop over three "employees".
void test_job(TReportWindow& w) {
  journal.events.push_back("job");
  journal.arg = w.arg;
  journal.context = w.c_p;
  journal.shown_at_job = current_ui && current_ui->windows.back().shown;
  w.lbM.set_caption("Подготовка информации");
  w.pbM.set_step(1);
  w.pbM.set_max(3);
  for (const char* name : {"Иванов", "Петров", "Сидоров"}) {
    w.lbM.set_caption(std::string("Печать данных: ") + name);
    w.pbM.step_it();
  }
  if (journal.ticks && current_ui) current_ui->tick(journal.ticks);
  if (journal.fail) throw std::runtime_error("Шаблон не найден: HRDOC090");
}

class TfmDirectTest : public TReportWindow {
  void Job() override { test_job(*this); }
};

class TfmShownTest : public TReportWindow {
 public:
  TfmShownTest() { Caption = "Проверочный отчёт"; }
  void AskQuestions() override {
    journal.events.push_back("questions");
    journal.shown_at_question = current_ui->windows.back().shown;
    journal.question_answer = c_p->armerr(kArmQuestion, "Группировать сотрудников по отделам?");
  }
  void Job() override { test_job(*this); }
};

class TfmModalTest : public TReportWindow {
 public:
  TfmModalTest() {
    Fields = {hrdoc::ui::date_field("edDTOPr", "Дата выписки"), hrdoc::ui::text_field("edNumPr", "Номер")};
    WorkingCaption = "Идет печать документа. Пожалуйста подождите...";
  }
  std::string CheckEntries() override {
    if (!DateOf("edDTOPr")) return "Не указана дата выписки приказа об индексации!";
    if (Text("edNumPr").empty()) return "Не указан номер приказа!";
    return {};
  }
  void Job() override {
    journal.entry_date = Text("edDTOPr");
    journal.entry_number = Text("edNumPr");
    test_job(*this);
  }
};

// A shown window whose clock ticks every 10 ms on the renderer's own timer thread while the
// job keeps the status line busy.
class TfmFastClockTest : public TReportWindow {
 public:
  TfmFastClockTest() {
    Caption = "Быстрые часы";
    Timer1.set_interval(10);
  }
  void Job() override {
    journal.events.push_back("job");
    pbM.set_step(1);
    pbM.set_max(1000);
    for (int i = 0; i < 1000 && Seconds() < 5; ++i) {
      lbM.set_caption("Печать данных: " + std::to_string(i));
      pbM.step_it();
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    journal.ticks = Seconds();
  }
};

// A modal window with its own buttons: two print buttons that bring the window back, a close
// button, and a check list of employees in columns.
class TfmButtonsTest : public TReportWindow {
 public:
  TfmButtonsTest() {
    Buttons = {{"BitBtn1", "Печать", false, true}, {"BitBtn3", "Печать списка", false, true},
               {"BitBtn2", "Закрыть", true}};
    Fields = {hrdoc::ui::checklist_field("lv", "Работники",
                                         hrdoc::ui::Table{{"Таб. №", "Ф.И.О."},
                                                          {{"17", "Иванов"}, {"4", "Петрова"}, {"230", "Сидоров"},
                                                           {"8", "Ёлкин"}}},
                                         {17, 4, 230, 8})};
  }
  void Job() override {
    std::string keys;
    for (long long k : Entry("lv").ticked_keys()) keys += " " + std::to_string(k);
    journal.events.push_back(Pressed + keys);
  }
};

// A direct window with a settings step of its own before the window: a dialog whose default
// button cancels.
class TfmSettingsTest : public TReportWindow {
 public:
  bool Settings() override {
    hrdoc::ui::Form f;
    f.name = "TfmNSTAGE";
    f.caption = "Настройка режимов работы";
    f.fields = {hrdoc::ui::spin_field("CSEStage", "Стаж не менее", 0, 999, 0)};
    f.buttons = {{"bbtnOk", "OK", false}, {"bbtnCancel", "&Отказаться", true, false, true}};
    journal.events.push_back("settings");
    if (!UI().edit_form(f)) return false;
    journal.entry_number = f.find("CSEStage")->value;
    return true;
  }
  void Job() override { test_job(*this); }
};

const bool registered =
    hrdoc::register_report<TfmFastClockTest, "HRDOC280L">() && hrdoc::register_report<TfmDirectTest, "HRDOC240">() &&
    hrdoc::register_report<TfmShownTest, "HRDOC090">() && hrdoc::register_report<TfmShownTest, "HRDOC090L">() &&
    hrdoc::register_report<TfmShownTest, "HRDOC100">() && hrdoc::register_report<TfmShownTest, "HRDOC101">() &&
    hrdoc::register_report<TfmModalTest, "HRDOC350">() && hrdoc::register_report<TfmButtonsTest, "HRDOC360">() &&
    hrdoc::register_report<TfmSettingsTest, "HRDOC170">();

// Runs a command through main_dll as the host does.
int run_command(compark& ctx, const char* command, int value) {
  std::string self = ctx.ext().host_path, cmd = command;
  void* argv[3] = {self.data(), cmd.data(), &value};
  return main_dll(&ctx, 3, argv);
}

class ReportWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(registered);
    journal = Journal{};
    current_ui = &ui;
    std::snprintf(ctx.lib_dir, sizeof ctx.lib_dir, "%s", HRDOC_TEST_BIN_DIR);
    ctx.ext().ui = &ui;
    ctx.ext().host_path = std::string(HRDOC_TEST_BIN_DIR) + "hrdoc";
    ctx.set_dates(hrdoc::text::encode_date(2026, 12, 5), hrdoc::text::encode_date(2026, 12, 1),
                  hrdoc::text::encode_date(2026, 12, 31));
  }
  void TearDown() override { current_ui = nullptr; }

  int run(const char* command, int value = 0) { return run_command(ctx, command, value); }
  static ScriptedUi::FormAnswer confirm(std::map<std::string, std::string> values = {}) {
    return {std::move(values), false, {}};
  }
  int dialogs() const {
    return std::count_if(ui.forms.begin(), ui.forms.end(), [](auto& f) { return f.name == "USR" || f.name == "USRSEW"; });
  }

  ScriptedUi ui;
  compark ctx;
};

TEST_F(ReportWindowTest, shown_window_asks_before_showing_then_runs_and_closes) {
  ui.answers.push_back(hrdoc::ui::IDNO);
  ASSERT_EQ(run("HRDOC090"), 0);
  ASSERT_EQ(dialogs(), 1);
  EXPECT_EQ(ui.forms[0].name, "USR");
  EXPECT_EQ(journal.events, (std::vector<std::string>{"questions", "job"}));
  EXPECT_FALSE(journal.shown_at_question);
  EXPECT_TRUE(journal.shown_at_job);
  EXPECT_EQ(journal.question_answer, hrdoc::ui::IDNO);
  ASSERT_EQ(ui.windows.size(), 1u);
  const auto& w = ui.windows[0];
  EXPECT_EQ(w.caption, "Проверочный отчёт");
  EXPECT_EQ(w.statuses.front() + "|" + w.statuses.back(), "Подготовка информации|Печать данных: Сидоров");
  EXPECT_EQ(std::pair(w.position, w.max), std::pair(3, 3));
  EXPECT_TRUE(w.closed);
  EXPECT_EQ(ui.running_timers(), 0);
  EXPECT_EQ(journal.context, &ctx);
}

TEST_F(ReportWindowTest, l_and_paired_commands_store_their_integer_before_the_job) {
  ASSERT_EQ(run("HRDOC090L", 5), 0);  // an integer skips the dialog
  EXPECT_EQ(dialogs(), 0);
  EXPECT_EQ(journal.arg, 5);
  ui.form_answers.push_back({{}, true, {}});
  EXPECT_EQ(run("HRDOC090L", 0), 0);  // zero runs the dialog first; cancelled, it opens no window
  EXPECT_EQ(dialogs(), 1);
  EXPECT_EQ(ui.windows.size(), 1u);
  EXPECT_EQ(journal.events.size(), 2u);
  for (auto [command, arg] : {std::pair{"HRDOC090L", 0}, {"HRDOC101", 1}, {"HRDOC100", 0}}) {
    journal.arg = -1;
    run(command, 0);
    EXPECT_EQ(journal.arg, arg) << command;
  }
  EXPECT_EQ(dialogs(), 4);
  EXPECT_EQ(ui.windows.size(), 4u);
}

TEST_F(ReportWindowTest, dialog_arguments_come_from_the_command_table_and_choices_reach_the_context) {
  // Every kind offers the date and the period, prefilled from the context: "HRDOC090" ("USR"
  // 1, 1, 0) and the direct "HRDOC240" ("USR" 1, 0, 0) alike.
  run("HRDOC090");
  ui.form_answers.push_back(confirm({{"date", "17.11.2026"}, {"to", "20.12.2026"}}));
  run("HRDOC240");
  ASSERT_EQ(ui.forms.size(), 2u);
  for (const auto& form : ui.forms) {
    EXPECT_NE(form.find("date"), nullptr);
    ASSERT_NE(form.find("from"), nullptr);
    EXPECT_EQ(form.find("from")->value, "01.12.2026");
  }
  EXPECT_EQ(ui.forms[1].find("to")->value, "20.12.2026");
  EXPECT_EQ((std::pair<int, int>(ctx.d_day, ctx.d_month)), std::pair(17, 11));
  EXPECT_EQ(hrdoc::text::date_text(ctx.D1) + "-" + hrdoc::text::date_text(ctx.D2), "01.12.2026-20.12.2026");
}

TEST_F(ReportWindowTest, shown_window_clock_counts_the_seconds_of_the_job_and_a_direct_one_has_none) {
  journal.ticks = 75;
  run("HRDOC090");
  run("HRDOC240");
  ASSERT_EQ(ui.windows.size(), 2u);
  const auto& clocks = ui.windows[0].clocks;
  ASSERT_EQ(clocks.size(), 76u);  // the resource's "00:00", then one per second
  EXPECT_EQ(clocks.front() + "|" + clocks[1] + "|" + clocks.back(), "00:00|00:01 -- 0 -- 0|01:15 -- 0 -- 0");
  EXPECT_EQ(ui.running_timers(), 0);
  EXPECT_TRUE(ui.windows[1].clocks.empty());
  EXPECT_TRUE(ui.windows[1].shown && ui.windows[1].closed);
  EXPECT_EQ(journal.events, (std::vector<std::string>{"questions", "job", "job"}));
}

TEST_F(ReportWindowTest, modal_cancel_or_a_failed_check_without_a_person_runs_no_job) {
  ui.form_answers.push_back(confirm());
  ui.form_answers.push_back({{{"edNumPr", "7"}}, false, "BitBtn2"});
  EXPECT_EQ(run("HRDOC350"), 0);
  EXPECT_EQ(dialogs(), 1);
  ASSERT_EQ(ui.forms.size(), 2u);
  EXPECT_EQ(ui.forms[1].pressed, "BitBtn2");
  ASSERT_EQ(ui.windows.size(), 1u);
  EXPECT_FALSE(ui.windows[0].shown);
  EXPECT_TRUE(ui.boxes.empty());
  // A failed check with no one to correct it ends the command.
  ui.form_answers.push_back(confirm());
  ui.form_answers.push_back(confirm({{"edNumPr", "12"}}));
  run("HRDOC350");
  EXPECT_EQ(ui.error_boxes(), 1);
  EXPECT_EQ(ui.boxes.size(), 1u);
  EXPECT_TRUE(ui.windows.at(1).closed);
  EXPECT_TRUE(journal.events.empty());
}

TEST_F(ReportWindowTest, modal_failed_check_keeps_the_window_open_until_corrected) {
  ui.form_answers.push_back(confirm());
  ui.form_answers.push_back(confirm({{"edDTOPr", "31.02.2026"}, {"edNumPr", "12"}}));  // no such date
  ui.form_answers.push_back(confirm({{"edDTOPr", "01.12.2026"}, {"edNumPr", ""}}));     // no number
  ui.form_answers.push_back(confirm({{"edDTOPr", "2026-12-01"}, {"edNumPr", "12"}}));
  run("HRDOC350");
  ASSERT_EQ(ui.boxes.size(), 2u);
  EXPECT_EQ(ui.boxes[0].text, "Не указана дата выписки приказа об индексации!");
  EXPECT_EQ(ui.boxes[0].caption, "Ошибка");
  EXPECT_EQ(ui.boxes[1].text, "Не указан номер приказа!");
  EXPECT_EQ(journal.events, (std::vector<std::string>{"job"}));
  EXPECT_EQ(journal.entry_date + " " + journal.entry_number, "01.12.2026 12");
  EXPECT_EQ(ui.windows.at(0).caption, "Идет печать документа. Пожалуйста подождите...");
  EXPECT_TRUE(ui.windows[0].closed);
}

TEST_F(ReportWindowTest, direct_report_cancelled_in_its_settings_step_opens_no_window) {
  struct Case {
    std::string button;  // pressed in the settings dialog; empty: its default
    std::vector<std::string> events;
  };
  for (const Case& c : {Case{"", {"settings"}}, Case{"Отказаться", {"settings"}},
                        Case{"bbtnOk", {"settings", "job"}}}) {
    journal = Journal{};
    ui.windows.clear();
    ui.forms.clear();
    ui.form_answers.push_back(confirm());
    if (!c.button.empty()) ui.form_answers.push_back({{{"CSEStage", "5"}}, false, c.button});
    EXPECT_EQ(run("HRDOC170"), 0);
    EXPECT_EQ(journal.events, c.events) << c.button;
    EXPECT_EQ(ui.windows.size(), c.events.size() - 1) << c.button;
    ASSERT_EQ(ui.forms.size(), 2u);
    EXPECT_EQ(ui.forms[0].name, "USR");
  }
  EXPECT_EQ(journal.entry_number, "5");
  EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(ReportWindowTest, error_escaping_the_job_is_shown_and_the_window_destroyed) {
  journal.fail = true;
  EXPECT_EQ(run("HRDOC090"), 0);
  ASSERT_EQ(ui.boxes.size(), 2u);  // the question, then the error
  EXPECT_EQ(ui.boxes[1].caption, "Ошибка");
  EXPECT_EQ(ui.boxes[1].text, "Шаблон не найден: HRDOC090");
  EXPECT_TRUE(ui.windows.at(0).closed);
  EXPECT_EQ(ui.running_timers(), 0);
}

TEST(Timer1Timer, formats_minutes_seconds_and_the_two_counters) {
  TfmDirectTest w;
  for (int i = 0; i < 67; ++i) w.Timer1Timer();
  EXPECT_EQ(w.lbTm.caption(), "01:07 -- 0 -- 0");
  for (int i = 67; i < 3600; ++i) w.Timer1Timer();
  EXPECT_EQ(w.lbTm.caption(), "60:00 -- 0 -- 0");
  EXPECT_EQ(w.Seconds(), 3600);
}

// The same commands on the command-line renderer, whose own timer thread ticks the clock.
class TerminalReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(registered);
    journal = Journal{};
    std::snprintf(ctx.lib_dir, sizeof ctx.lib_dir, "%s", HRDOC_TEST_BIN_DIR);
  }
  void TearDown() override {
    for (std::FILE* f : {out, err, in}) std::fclose(f);
  }
  int run(hrdoc::ui::TerminalUi& ui, const char* command, int value = 0) {
    ctx.ext().ui = &ui;
    return run_command(ctx, command, value);
  }
  std::string err_text() {
    std::fflush(err);
    std::rewind(err);
    std::string s;
    for (int c; (c = std::fgetc(err)) != EOF;) s += static_cast<char>(c);
    return s;
  }
  std::FILE *out = std::tmpfile(), *err = std::tmpfile(), *in = std::tmpfile();
  hrdoc::ui::TerminalUi::Options o;
  compark ctx;
};

TEST_F(TerminalReportTest, timer_thread_ticks_while_the_job_works_and_stops_with_the_timer) {
  hrdoc::ui::TerminalUi quiet(o, out, err, in);
  TfmDirectTest w;
  w.Timer1.set_interval(20);
  w.Timer1.start(quiet);
  for (int i = 0; i < 200 && w.Seconds() < 3; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  w.Timer1.stop();
  int seen = w.Seconds();
  EXPECT_GE(seen, 3);
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  EXPECT_EQ(w.Seconds(), seen);

  o.force_live = true;
  hrdoc::ui::TerminalUi ui(o, out, err, in);
  run(ui, "HRDOC280L", 1);
  EXPECT_EQ(journal.events, (std::vector<std::string>{"job"}));
  EXPECT_GE(journal.ticks, 5);
  std::string text = err_text();
  EXPECT_NE(text.find("Быстрые часы | Печать данных: "), std::string::npos);
  EXPECT_NE(text.find("00:05 -- 0 -- 0"), std::string::npos) << text;
  EXPECT_EQ(text.substr(text.size() - 4), "\r\033[K");  // the line is gone when the window closes
}

TEST_F(TerminalReportTest, print_buttons_return_to_the_window_until_closed_and_set_ticks_rows) {
  struct Case {
    std::deque<std::string> presses;
    std::vector<std::string> events;
  };
  for (const Case& c : {
           // Nobody to ask: the default button once, then the window closes.
           Case{{}, {"BitBtn1 17 8"}},
           Case{{"Печать списка", "BitBtn1", "BitBtn3"}, {"BitBtn3 17 8", "BitBtn1 17 8", "BitBtn3 17 8"}},
           Case{{"Закрыть"}, {}},
       }) {
    journal = Journal{};
    o.values = {{"lv", "0,3"}};
    o.presses = c.presses;
    hrdoc::ui::TerminalUi ui(o, out, err, in);
    run(ui, "HRDOC360");
    EXPECT_EQ(journal.events, c.events);
    EXPECT_TRUE(ui.unused_presses().empty());
    EXPECT_EQ(ui.error_boxes(), 0);
  }
}

TEST_F(TerminalReportTest, batch_modal_window_takes_its_entries_from_set_values_and_checks_them) {
  o.values = {{"edNumPr", "45"}};
  hrdoc::ui::TerminalUi failed(o, out, err, in);
  run(failed, "HRDOC350");
  EXPECT_TRUE(journal.events.empty());
  EXPECT_EQ(failed.error_boxes(), 1);
  EXPECT_NE(err_text().find("Не указана дата выписки приказа об индексации!"), std::string::npos);

  o.values = {{"edDTOPr", "2026-12-01"}, {"edNumPr", "45"}};
  hrdoc::ui::TerminalUi ui(o, out, err, in);
  run(ui, "HRDOC350");
  EXPECT_EQ(journal.events, (std::vector<std::string>{"job"}));
  EXPECT_EQ(journal.entry_date + " " + journal.entry_number, "01.12.2026 45");
  EXPECT_EQ(ui.error_boxes(), 0);
}

}  // namespace
