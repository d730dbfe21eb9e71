// The desktop application on a demo database: "HRDOC092" run from the main window by keys and
// clicks gives the same book as `hrdoc run` with the same answers, and the parameter dialog
// takes its department set as ticks in the tree of the enterprise.
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>
#include <filesystem>
#include <memory>

#include "db/database.h"
#include "gui/gui_support.h"
#include "sheet/book.h"
#include "suite/hrdoc-gui/main_window.h"
#include "support/host_run.h"
#include "support/test_context.h"
#include "support/work_dir.h"
#include "text/date.h"
#include "ui/ini_file.h"
#include "ui/qt/qt_ui.h"

namespace {

namespace fs = std::filesystem;
using hrdoc::test::child;
using hrdoc::test::click;
using hrdoc::test::drive;
using hrdoc::test::gui;
using hrdoc::test::post;
using hrdoc::test::shot;
using hrdoc::test::type_text;
using hrdoc::test::wait_modal;
using hrdoc::test::Worker;

class Desktop : public ::testing::Test {
 protected:
  // One demo database for the binary, and the book `hrdoc run` makes of it before any
  // connection of this process holds the file.
  static void SetUpTestSuite() {
    dir_ = new hrdoc::test::WorkDir("gui_desktop");
    db_ = (dir_->path() / "demo.fdb").string();
    auto made = hrdoc::test::run_hrdoc("demo --db " + db_ + " --employees 60 --today 05.12.2026 --quiet");
    ASSERT_EQ(made.code, 0) << made.out;
    auto run = hrdoc::test::run_hrdoc("run HRDOC092 --db " + db_ +
                                          " --date 05.12.2026 --from 01.01.2027 --to 31.12.2027 --dept 8"
                                          " --answer приказам=no --answer отделам=yes --quiet --out " +
                                          (dir_->path() / "cli").string(),
                                      false);
    ASSERT_EQ(run.code, 0) << run.out;
    cli_book_ = run.out.substr(0, run.out.find('\n'));
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }

  static hrdoc::test::WorkDir* dir_;
  static std::string db_, cli_book_;
};
hrdoc::test::WorkDir* Desktop::dir_ = nullptr;
std::string Desktop::db_, Desktop::cli_book_;

// Every cell's text of every sheet, with its address.
std::vector<std::string> cells(const std::string& path) {
  hrdoc::sheet::Book book(path);
  std::vector<std::string> out;
  for (int s = 1; s <= book.sheet_count(); ++s) {
    const auto& sheet = book.sheet(s);
    for (int r = 1; r <= sheet.last_row(); ++r)
      for (int c = 1; c <= sheet.last_column(); ++c)
        if (auto t = sheet.text(r, c); !t.empty())
          out.push_back(sheet.name() + "!" + std::to_string(r) + ":" + std::to_string(c) + " " + t);
  }
  return out;
}

// Types a date dd.mm.yyyy section by section, as a user who clicks into each one.
void set_date(QWidget* dialog, const char* name, const QString& text) {
  auto* edit = child<QDateEdit>(dialog, name);
  edit->setFocus();
  const QStringList parts = text.split('.');
  const QDateTimeEdit::Section sections[] = {QDateTimeEdit::DaySection, QDateTimeEdit::MonthSection,
                                             QDateTimeEdit::YearSection};
  for (int i = 0; i < 3; ++i) {
    edit->setSelectedSection(sections[i]);
    type_text(edit, parts[i]);
  }
  EXPECT_EQ(edit->date().toString("dd.MM.yyyy"), text);
}

TEST_F(Desktop, hrdoc092_run_from_the_main_window_gives_the_book_of_the_command_line) {
  ASSERT_FALSE(cli_book_.empty());
  std::vector<QUrl> opened;
  bool finished = false;
  const std::string settings = (dir_->path() / "pc_Setting.dsk").string();
  auto window = std::make_unique<hrdoc::gui::MainWindow>(hrdoc::gui::MainWindow::Options{
      HRDOC_BIN_DIR, settings, [&](const QUrl& url) { opened.push_back(url); }});
  hrdoc::gui::MainWindow* w = window.get();
  w->on_finished = [&] { finished = true; };
  w->set_out_dir((dir_->path() / "gui").string());
  w->show();

  drive([&] {
    gui([&] {
      type_text(child<QComboBox>(w, "database")->lineEdit(), QString::fromStdString(db_));
      click(child<QPushButton>(w, "connect"));
      EXPECT_TRUE(child<QLabel>(w, "database_state")->text().startsWith("Подключено"));
      type_text(child<QLineEdit>(w, "filter"), "092");
      EXPECT_EQ(child<QTreeWidget>(w, "commands")->currentItem()->text(0), "HRDOC092");
      shot(w, "main_window");
    });
    post([w] { click(child<QPushButton>(w, "run")); });

    // The parameter dialog: dates typed, the department found in the tree by its name.
    QWidget* usr = wait_modal("USR");
    gui([&] {
      set_date(usr, "date", "05.12.2026");
      set_date(usr, "from", "01.01.2027");
      set_date(usr, "to", "31.12.2027");
    });
    post([usr] { click(child<QToolButton>(usr, "dept_lookup")); });
    QWidget* tree = wait_modal("pick");
    gui([&] {
      type_text(child<QLineEdit>(tree, "search"), "производ");
      EXPECT_EQ(child<QTreeWidget>(tree, "list")->currentItem()->text(0), "Производство");
      QTest::keyClick(child<QLineEdit>(tree, "search"), Qt::Key_Return);
    });
    wait_modal("USR");
    gui([&] {
      EXPECT_EQ(child<QLineEdit>(usr, "dept")->text(), "8 Производство");
      shot(usr, "parameter_dialog");
    });
    post([usr] { click(child<QPushButton>(usr, "ok")); });

    // The report's two questions, answered as on the command line.
    for (auto [text, button] : {std::pair{"приказам", "no"}, std::pair{"отделам", "yes"}}) {
      auto* box = qobject_cast<QMessageBox*>(wait_modal("message"));
      gui([&] {
        EXPECT_TRUE(box->text().contains(text)) << box->text().toStdString();
        click(child<QPushButton>(box, button));
      });
    }
    QWidget* ready = wait_modal("document_ready");
    gui([&] {
      shot(ready, "document_ready");
      click(child<QPushButton>(ready, "open"));
    });
    while (!finished) hrdoc::test::pause();
  });

  ASSERT_FALSE(w->failed());
  ASSERT_EQ(w->documents().size(), 1u);
  const std::string book = w->documents()[0];
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].toLocalFile().toStdString(), book);
  EXPECT_EQ(fs::path(book).filename(), fs::path(cli_book_).filename());
  const auto gui_cells = cells(book), cli_cells = cells(cli_book_);
  EXPECT_GT(gui_cells.size(), 40u);
  // The first difference, readably.
  const auto [g, c] = std::mismatch(gui_cells.begin(), gui_cells.end(), cli_cells.begin(), cli_cells.end());
  EXPECT_TRUE(g == gui_cells.end() && c == cli_cells.end())
      << "desktop: " << (g == gui_cells.end() ? "(end)" : *g) << "\ncommand line: " << (c == cli_cells.end() ? "(end)" : *c);
  // The database is remembered for the next start.
  window.reset();
  EXPECT_EQ(hrdoc::ui::IniFile(settings).read_string("hrdoc-gui", "Db1", ""), db_);
}

TEST_F(Desktop, the_department_set_is_ticked_in_the_tree_of_the_enterprise) {
  auto connection = hrdoc::db::Connection::open(db_);
  hrdoc::test::TestContext t(*connection);
  hrdoc::ui::QtUi ui;
  t.ctx.ext().ui = &ui;
  t.ctx.set_dates(hrdoc::text::encode_date(2026, 12, 5), hrdoc::text::encode_date(2026, 12, 1),
                  hrdoc::text::encode_date(2026, 12, 5));
  int answer = -1;
  drive([&] {
    Worker job([&] { answer = t.ctx.l_call("KVDLG", "USRSEW", 1, 0, 1); });
    QWidget* usr = wait_modal("USRSEW");
    post([usr] { click(child<QToolButton>(usr, "depts_lookup")); });
    QWidget* tree = wait_modal("pick");
    gui([&] {
      type_text(child<QLineEdit>(tree, "search"), "цех");
      click(child<QPushButton>(tree, "tick_all"));
      click(child<QPushButton>(tree, "ok"));
    });
    wait_modal("USRSEW");
    post([usr] { click(child<QPushButton>(usr, "ok")); });
  });
  ASSERT_EQ(answer, 0);
  // The departments whose names hold the word, as the database finds them.
  hrdoc::db::Query q(*connection);
  q.sql("select KP from OTZKPN where TN=0 and SNAME containing 'цех' order by KP");
  q.open();
  std::vector<int> expected;
  for (q.first(); !q.eof(); q.next()) expected.push_back(static_cast<int>(q.field("KP").as_int()));
  ASSERT_FALSE(expected.empty());
  std::vector<int> keys = t.ctx.kpsew_keys();
  std::sort(keys.begin(), keys.end());
  EXPECT_EQ(keys, expected);
}

}  // namespace

HRDOC_GUI_TEST_MAIN()
