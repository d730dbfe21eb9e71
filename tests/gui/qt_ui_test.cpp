// The desktop renderer with real widgets: forms filled by keys and clicks and read back, boxes
// answered, a report window watched while its job works, trees searched and ticked, and a
// dialog that keeps its placement and zoom.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QTreeWidget>
#include <map>

#include "forms/edit.h"
#include "gui/gui_support.h"
#include "support/test_context.h"
#include "support/work_dir.h"
#include "ui/ini_file.h"
#include "ui/qt/qt_ui.h"

namespace {

using namespace hrdoc::ui;
using hrdoc::test::child;
using hrdoc::test::click;
using hrdoc::test::drive;
using hrdoc::test::gui;
using hrdoc::test::post;
using hrdoc::test::shot;
using hrdoc::test::type_text;
using hrdoc::test::wait_modal;
using hrdoc::test::Worker;

Form every_kind() {
  Form form;
  form.name = "every";
  form.caption = "Все виды полей";
  form.fields = {date_field("date", "Дата приказа", "01.12.2026"),
                 date_field("none", "Дата окончания", "05.12.2026"),
                 text_field("name", "Фамилия"),
                 memo_field("note", "Примечание"),
                 spin_field("count", "Количество", 1, 10, 3),
                 radio_field("order", "Порядок списка", {"по алфавиту", "по табельному номеру"}),
                 lookup_field("code", "Код должности",
                              [](Field& self, Form& f) {
                                self.value = "42";
                                f.find("title")->value = "Инженер";
                                return true;
                              }),
                 text_field("title", "Должность"),
                 checklist_field("people", "Сотрудники",
                                 Table{{"Таб. №", "ФИО"}, {{"1", "Петров П.П."}, {"2", "Сидоров С.С."}, {"3", "Орлова О.О."}}},
                                 {11, 12, 13}),
                 check_field("sign", "Печатать подписи"),
                 pick_field("kind", "Вид соглашения", {"основное", "дополнительное"})};
  form.fields[4].group = form.fields[5].group = "Список";
  return form;
}

TEST(QtForm, every_field_kind_is_filled_by_keys_and_clicks_and_read_back) {
  QtUi ui;
  Form form = every_kind();
  bool confirmed = false;
  drive([&] {
    Worker job([&] { confirmed = ui.edit_form(form); });
    QWidget* d = wait_modal("every");
    gui([&] {
      auto* date = child<QDateEdit>(d, "date");
      date->setFocus();
      date->setSelectedSection(QDateTimeEdit::DaySection);
      type_text(date, "15.12.2026");
      child<QDateEdit>(d, "none")->setFocus();
      QTest::keyClick(child<QDateEdit>(d, "none"), Qt::Key_Delete);
      type_text(child<QLineEdit>(d, "name"), "Иванов");
      auto* note = child<QPlainTextEdit>(d, "note");
      type_text(note, "строка 1");
      QTest::keyClick(note, Qt::Key_Return);
      type_text(note, "строка 2");
      auto* count = child<QSpinBox>(d, "count");
      QTest::keyClick(count, Qt::Key_Up);
      QTest::keyClick(count, Qt::Key_Up);
      click(child<QRadioButton>(d, "order_1"));
      click(child<QToolButton>(d, "code_lookup"));
      auto* people = child<QTreeWidget>(d, "people");
      EXPECT_EQ(people->columnCount(), 2);
      EXPECT_EQ(people->topLevelItem(1)->text(1), "Сидоров С.С.");
      click(child<QPushButton>(d, "people_tick_all"));
      click(child<QPushButton>(d, "people_untick_all"));
      people->setFocus();
      people->setCurrentItem(people->topLevelItem(2));
      QTest::keyClick(people, Qt::Key_Space);
      child<QCheckBox>(d, "sign")->setFocus();
      QTest::keyClick(child<QCheckBox>(d, "sign"), Qt::Key_Space);
      shot(d, "form");
    });
    // The pick list is required: confirming without it is refused and the form stays.
    post([d] { QTest::keyClick(child<QLineEdit>(d, "name"), Qt::Key_Return); });
    QWidget* refused = wait_modal("message");
    gui([&] {
      EXPECT_TRUE(qobject_cast<QMessageBox*>(refused)->text().contains("Вид соглашения"));
      QTest::keyClick(refused, Qt::Key_Return);
    });
    wait_modal("every");
    gui([&] {
      auto* kind = child<QComboBox>(d, "kind");
      kind->setFocus();
      QTest::keyClick(kind, Qt::Key_Down);
      QTest::keyClick(kind, Qt::Key_Down);
      // Enter in a line presses the default button.
      QTest::keyClick(child<QLineEdit>(d, "title"), Qt::Key_Return);
    });
  });

  ASSERT_TRUE(confirmed);
  EXPECT_EQ(form.pressed, "ok");
  const std::map<std::string, std::string> expected = {
      {"date", "15.12.2026"}, {"none", ""},   {"name", "Иванов"}, {"note", "строка 1\nстрока 2"},
      {"count", "5"},         {"order", "1"}, {"code", "42"},     {"title", "Инженер"},
      {"sign", "1"},          {"kind", "1"}};
  for (const auto& [name, value] : expected) EXPECT_EQ(form.find(name)->value, value) << name;
  EXPECT_EQ(form.find("people")->ticked_keys(), std::vector<long long>{13});
}

TEST(QtForm, a_cancel_button_or_escape_gives_the_form_up) {
  QtUi ui;
  for (bool escape : {false, true}) {
    Form form = every_kind();
    bool confirmed = true;
    drive([&] {
      Worker job([&] { confirmed = ui.edit_form(form); });
      QWidget* d = wait_modal("every");
      gui([&] {
        type_text(child<QLineEdit>(d, "name"), "Петров");
        if (escape)
          QTest::keyClick(d, Qt::Key_Escape);
        else
          click(child<QPushButton>(d, "cancel"));
      });
    });
    EXPECT_FALSE(confirmed) << escape;
    EXPECT_EQ(form.pressed, "cancel") << escape;
  }
}

TEST(QtMessageBox, a_box_is_answered_by_a_click_or_by_enter_on_its_default_button) {
  struct Case {
    unsigned flags;
    const char* click;  // button to click; null: Enter; "esc": Escape
    int answer;
  };
  const Case cases[] = {
      {MB_YESNO | MB_ICONWARNING, "no", IDNO},
      {MB_YESNO | MB_ICONQUESTION, nullptr, IDYES},
      {MB_YESNO | MB_DEFBUTTON2, nullptr, IDNO},
      {MB_YESNOCANCEL, "cancel", IDCANCEL},
      {MB_OKCANCEL | MB_ICONERROR, "esc", IDCANCEL},
      {MB_OK | MB_ICONINFORMATION, nullptr, IDOK},
  };
  QtUi ui;
  for (const Case& c : cases) {
    int answer = 0;
    drive([&] {
      Worker job([&] { answer = ui.message_box("Предупреждение", "Сформировать по приказам на отпуск?", c.flags); });
      auto* box = qobject_cast<QMessageBox*>(wait_modal("message"));
      ASSERT_NE(box, nullptr);
      gui([&] {
        EXPECT_EQ(box->windowTitle(), "Предупреждение");
        if ((c.flags & 0xF) == MB_YESNO) {
          EXPECT_EQ(child<QPushButton>(box, "yes")->text(), "Да");
          EXPECT_EQ(child<QPushButton>(box, "no")->text(), "Нет");
          if (c.flags == (MB_YESNO | MB_ICONWARNING)) shot(box, "message_box");
        }
        if (!c.click)
          QTest::keyClick(box, Qt::Key_Return);
        else if (std::string(c.click) == "esc")
          QTest::keyClick(box, Qt::Key_Escape);
        else
          click(child<QPushButton>(box, c.click));
      });
    });
    EXPECT_EQ(answer, c.answer) << std::hex << c.flags;
  }
  EXPECT_EQ(ui.error_boxes(), 1);
}

TEST(QtReportWindow, the_progress_moves_while_the_job_works_and_the_stop_button_asks_to_stop) {
  QWidget main;
  main.resize(600, 400);
  main.show();
  QtUi ui(&main);
  std::atomic<int> step{0};
  std::atomic<bool> stop_asked{false};
  drive([&] {
    Worker job([&] {
      auto w = ui.open_window("Печать графика отпусков по форме Т7");
      w->on_stop([&] { stop_asked = true; });
      w->show();
      w->set_clock("00:07 -- 0 -- 0");
      for (int i = 1; i <= 60 && !stop_asked; ++i) {
        w->set_status("Печать данных: работник " + std::to_string(i));
        w->set_progress(i, 60);
        step = i;
        hrdoc::test::pause(25);
      }
      w->close();
    });
    QWidget* window = nullptr;
    while (!window && !job.done()) {
      gui([&] {
        for (QWidget* w : QApplication::topLevelWidgets())
          if (w->objectName() == "report" && w->isVisible()) window = w;
      });
      hrdoc::test::pause();
    }
    ASSERT_NE(window, nullptr);
    std::vector<int> seen;
    while (step < 40) {
      int value = 0;
      gui([&] { value = child<QProgressBar>(window, "pbM")->value(); });
      if (seen.empty() || value != seen.back()) seen.push_back(value);
      hrdoc::test::pause(15);
    }
    EXPECT_GE(seen.size(), 3u) << "the bar should move while the job runs";
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    gui([&] {
      EXPECT_EQ(window->windowTitle(), "Печать графика отпусков по форме Т7");
      EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
      EXPECT_EQ(child<QProgressBar>(window, "pbM")->maximum(), 60);
      EXPECT_TRUE(child<QLabel>(window, "lbM")->text().startsWith("Печать данных: работник "));
      EXPECT_EQ(child<QLabel>(window, "lbTm")->text(), "00:07 -- 0 -- 0");
      shot(window, "report_window");
      click(child<QPushButton>(window, "stop"));
    });
    job.finish();
    EXPECT_TRUE(stop_asked);
    EXPECT_LT(step, 60);
    gui([&] { EXPECT_FALSE(window->isVisible()); });
  });
}

Tree departments() {
  return Tree{{{1, -1, "Предприятие"}, {10, 0, "Цех № 1"}, {11, 1, "Участок сборки"}, {20, 0, "Бухгалтерия"}}};
}

TEST(QtTree, a_node_is_found_by_its_name_and_chosen_with_enter) {
  QtUi ui;
  int chosen = -2;
  drive([&] {
    Worker job([&] { chosen = ui.choose_node("Подразделение", departments(), 3); });
    QWidget* d = wait_modal("pick");
    gui([&] {
      auto* list = child<QTreeWidget>(d, "list");
      EXPECT_EQ(list->currentItem()->text(0), "Бухгалтерия");
      type_text(child<QLineEdit>(d, "search"), "сбор");
      EXPECT_TRUE(list->topLevelItem(0)->child(1)->isHidden()) << "Бухгалтерия does not match";
      EXPECT_FALSE(list->topLevelItem(0)->isHidden()) << "the parent of a match stays";
      QTest::keyClick(child<QLineEdit>(d, "search"), Qt::Key_Return);
    });
  });
  EXPECT_EQ(chosen, 2);
}

TEST(QtTree, ticks_are_set_in_the_tree_and_tick_all_ticks_what_the_search_found) {
  QtUi ui;
  std::vector<bool> ticks{false, false, false, true};
  bool confirmed = false;
  drive([&] {
    Worker job([&] { confirmed = ui.tick_nodes("Набор подразделений", departments(), ticks); });
    QWidget* d = wait_modal("pick");
    gui([&] {
      type_text(child<QLineEdit>(d, "search"), "цех");
      click(child<QPushButton>(d, "tick_all"));
      shot(d, "department_tree");
      click(child<QPushButton>(d, "ok"));
    });
  });
  ASSERT_TRUE(confirmed);
  EXPECT_EQ(ticks, (std::vector<bool>{false, true, false, true}));
}

// A dialog of the suite's base window: opens centred the first time, at 150 % after the zoom was
// chosen, and the settings file keeps both.
TEST(QtPlacement, a_dialog_keeps_its_zoom_and_place_in_the_settings_file) {
  hrdoc::test::WorkDir dir("gui_placement");
  hrdoc::test::TestContext t;
  QtUi ui;
  t.ctx.ext().ui = &ui;
  t.ctx.ext().host_path = (dir / "hrdoc").string();
  auto open = [&](const std::function<void(QWidget*)>& steer) {
    int result = 0;
    drive([&] {
      Worker job([&] {
        hrdoc::TfmEdit edit(&t.ctx, "TfmTest", {100, 100, 320, 180}, "pc1");
        edit.Caption = "Выбор сотрудников";
        edit.Fields = {text_field("name", "Фамилия"), date_field("date", "Дата", "05.12.2026")};
        result = edit.ShowModal();
      });
      steer(wait_modal("TfmTest"));
    });
    return result;
  };
  qreal base = 0;
  EXPECT_EQ(open([&](QWidget* d) {
              gui([&] {
                base = d->font().pointSizeF();
                shot(d, "dialog_100");
                // Enter moves on to the next entry instead of closing.
                child<QLineEdit>(d, "name")->setFocus();
                QTest::keyClick(child<QLineEdit>(d, "name"), Qt::Key_Return);
                EXPECT_EQ(QApplication::focusWidget(), child<QDateEdit>(d, "date"));
              });
              post([d] { QTest::keyClick(d, Qt::Key_F12, Qt::ControlModifier | Qt::ShiftModifier); });
              QWidget* menu = wait_modal("pick");
              gui([&] {
                type_text(child<QLineEdit>(menu, "search"), "150");
                QTest::keyClick(child<QLineEdit>(menu, "search"), Qt::Key_Return);
              });
              wait_modal("TfmTest");
              gui([&] {
                EXPECT_NEAR(d->font().pointSizeF(), base * 1.5, 0.01);
                shot(d, "dialog_150");
                d->move(40, 30);
                click(child<QPushButton>(d, "bbOk"));
              });
            }),
            hrdoc::TfmEdit::mrOk);
  IniFile ini((dir / "pc1_Setting.dsk").string());
  EXPECT_EQ(ini.read_int("TfmTest", "Scale", 0), 150);
  EXPECT_EQ(ini.read_int("TfmTest", "Left", 0), 40);
  EXPECT_EQ(ini.read_int("TfmTest", "WidthStart", 0), 320);
  // The next time it opens where it was left, at the zoom it had.
  open([&](QWidget* d) {
    gui([&] {
      EXPECT_NEAR(d->font().pointSizeF(), base * 1.5, 0.01);
      EXPECT_EQ(d->pos(), QPoint(40, 30));
      click(child<QPushButton>(d, "bbCancel"));
    });
  });
}

}  // namespace

HRDOC_GUI_TEST_MAIN()
