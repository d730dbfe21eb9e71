#include "suite/hrdoc-gui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QThread>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cstdio>
#include <map>

#include "forms/edit.h"
#include "host/output.h"
#include "suite/hrdoc-gui/families.h"
#include "suite/hrdoc/session.h"
#include "ui/ini_file.h"
#include "ui/stop.h"

namespace fs = std::filesystem;

namespace hrdoc::gui {
namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }
std::string ss(const QString& s) { return s.toStdString(); }

constexpr const char* kSection = "hrdoc-gui";
constexpr int kRecent = 8;
constexpr const char* kVersion = "CTRLVERDLL";

using CommandCount = int (*)();
using CommandInfo = int (*)(int, const char**, const char**, const char**, int*);

}  // namespace

MainWindow::MainWindow(Options options) : options_(std::move(options)), ui_(this) {
  if (!options_.open_url) options_.open_url = [](const QUrl& url) { QDesktopServices::openUrl(url); };
  settings_file_ = options_.settings_file.empty()
                       ? SettingsFileName((options_.bin_dir / "hrdoc").string(), ComputerName())
                       : options_.settings_file;
  host::wire_context(ctx_, ui_, options_.bin_dir, {}, 0, {});
  setObjectName("main");
  setWindowTitle("hrdoc — отчёты отдела кадров");
  build();
  std::string error;
  if (!library_.open(options_.bin_dir, error)) statusBar()->showMessage(qs(error));
  fill_commands();
  load_settings();
}

MainWindow::~MainWindow() {
  if (worker_) {
    ui::request_stop();
    worker_->wait();
  }
  save_settings();
  session_.reset();
}

void MainWindow::build() {
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);

  auto* db_box = new QGroupBox("База данных", central);
  auto* db_layout = new QVBoxLayout(db_box);
  auto* db_row = new QHBoxLayout;
  database_box_ = new QComboBox(db_box);
  database_box_->setObjectName("database");
  database_box_->setEditable(true);
  database_box_->setMinimumWidth(360);
  database_box_->lineEdit()->setPlaceholderText("файл .fdb или сервер: host[/port]:путь");
  database_box_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  auto* browse = new QPushButton("Файл...", db_box);
  browse->setObjectName("browse");
  auto* connect_button = new QPushButton("Подключить", db_box);
  connect_button->setObjectName("connect");
  db_row->addWidget(database_box_);
  db_row->addWidget(browse);
  db_row->addWidget(connect_button);
  database_state_ = new QLabel("Нет подключения", db_box);
  database_state_->setObjectName("database_state");
  db_layout->addLayout(db_row);
  db_layout->addWidget(database_state_);
  layout->addWidget(db_box);
  connect(browse, &QPushButton::clicked, this, [this] {
    QString file = QFileDialog::getOpenFileName(this, "База данных", QDir::homePath(),
                                                "Базы Firebird (*.fdb *.FDB *.gdb *.GDB);;Все файлы (*)");
    if (!file.isEmpty()) open_database(ss(file));
  });
  connect(connect_button, &QPushButton::clicked, this, [this] {
    const std::string text = ss(database_box_->currentText().trimmed());
    if (!text.empty()) open_database(text);
  });
  connect(database_box_->lineEdit(), &QLineEdit::returnPressed, connect_button, &QPushButton::click);

  auto* out_row = new QHBoxLayout;
  out_row->addWidget(new QLabel("Папка документов:", central));
  out_edit_ = new QLineEdit(central);
  out_edit_->setObjectName("out_dir");
  auto* out_browse = new QPushButton("...", central);
  out_browse->setObjectName("out_browse");
  out_browse->setMaximumWidth(40);
  out_row->addWidget(out_edit_);
  out_row->addWidget(out_browse);
  layout->addLayout(out_row);
  connect(out_browse, &QPushButton::clicked, this, [this] {
    QString dir = QFileDialog::getExistingDirectory(this, "Папка документов", out_edit_->text());
    if (!dir.isEmpty()) out_edit_->setText(dir);
  });

  filter_ = new QLineEdit(central);
  filter_->setObjectName("filter");
  filter_->setPlaceholderText("Поиск по коду или названию отчёта");
  filter_->setClearButtonEnabled(true);
  layout->addWidget(filter_);
  connect(filter_, &QLineEdit::textChanged, this, &MainWindow::filter);

  commands_ = new QTreeWidget(central);
  commands_->setObjectName("commands");
  commands_->setColumnCount(2);
  commands_->setHeaderLabels({"Код", "Отчёт"});
  commands_->setUniformRowHeights(true);
  commands_->header()->setStretchLastSection(true);
  layout->addWidget(commands_, 1);
  connect(commands_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item, int) {
    if (item && item->parent()) run_selected();
  });

  auto* run_row = new QHBoxLayout;
  run_row->addStretch();
  run_ = new QPushButton("Выполнить", central);
  run_->setObjectName("run");
  run_row->addWidget(run_);
  layout->addLayout(run_row);
  connect(run_, &QPushButton::clicked, this, &MainWindow::run_selected);

  auto* docs_box = new QGroupBox("Готовые документы", central);
  auto* docs_layout = new QVBoxLayout(docs_box);
  document_list_ = new QListWidget(docs_box);
  document_list_->setObjectName("documents");
  document_list_->setMaximumHeight(110);
  docs_layout->addWidget(document_list_);
  auto* docs_row = new QHBoxLayout;
  auto* open = new QPushButton("Открыть", docs_box);
  open->setObjectName("open_document");
  auto* folder = new QPushButton("Показать в папке", docs_box);
  folder->setObjectName("show_folder");
  docs_row->addStretch();
  docs_row->addWidget(open);
  docs_row->addWidget(folder);
  docs_layout->addLayout(docs_row);
  docs_box->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
  layout->addWidget(docs_box);
  auto selected_document = [this] {
    QListWidgetItem* item = document_list_->currentItem();
    return item ? ss(item->text()) : std::string();
  };
  connect(open, &QPushButton::clicked, this, [this, selected_document] {
    if (auto p = selected_document(); !p.empty()) open_document(p, false);
  });
  connect(folder, &QPushButton::clicked, this, [this, selected_document] {
    if (auto p = selected_document(); !p.empty()) open_document(p, true);
  });
  connect(document_list_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { open_document(ss(item->text()), false); });

  setCentralWidget(central);
  statusBar()->showMessage("Выберите базу данных и отчёт");
  lock_while_running_ = {db_box, out_edit_, out_browse, run_, commands_};
  resize(720, 640);
}

void MainWindow::fill_commands() {
  commands_->clear();
  std::map<std::string, QTreeWidgetItem*> groups;
  int count = 0;
  const char* const* order = family_order(count);
  for (int i = 0; i < count; ++i) {
    auto* group = new QTreeWidgetItem(commands_, {qs(order[i])});
    group->setFlags(Qt::ItemIsEnabled);
    QFont bold = group->font(0);
    bold.setBold(true);
    group->setFont(0, bold);
    group->setFirstColumnSpanned(true);
    groups[order[i]] = group;
  }
  auto* service = new QTreeWidgetItem(commands_, {"Служебные"});
  service->setFlags(Qt::ItemIsEnabled);
  service->setFirstColumnSpanned(true);
  new QTreeWidgetItem(service, {kVersion, "Версия библиотеки"});

  auto command_count = library_.get<CommandCount>("hrdoc_command_count");
  auto command_info = library_.get<CommandInfo>("hrdoc_command_info");
  if (command_count && command_info) {
    for (int i = 0; i < command_count(); ++i) {
      const char *name = nullptr, *cls = nullptr, *caption = nullptr;
      int built = 0;
      command_info(i, &name, &cls, &caption, &built);
      QTreeWidgetItem* group = groups[family_of(name)];
      auto* item = new QTreeWidgetItem(group, {qs(name), qs(title_of(name, caption))});
      item->setToolTip(1, qs(std::string("окно ") + cls));
      if (!built) {
        item->setForeground(0, QApplication::palette().color(QPalette::Disabled, QPalette::Text));
        item->setForeground(1, QApplication::palette().color(QPalette::Disabled, QPalette::Text));
        item->setToolTip(1, "Отчёт ещё не готов");
      }
    }
  }
  for (int i = commands_->topLevelItemCount() - 1; i >= 0; --i)
    if (commands_->topLevelItem(i)->childCount() == 0) delete commands_->takeTopLevelItem(i);
  commands_->expandAll();
  commands_->resizeColumnToContents(0);
}

void MainWindow::filter(const QString& text) {
  const QString t = text.trimmed();
  QTreeWidgetItem* first = nullptr;
  for (int g = 0; g < commands_->topLevelItemCount(); ++g) {
    QTreeWidgetItem* group = commands_->topLevelItem(g);
    int shown = 0;
    for (int i = 0; i < group->childCount(); ++i) {
      QTreeWidgetItem* item = group->child(i);
      const bool match = t.isEmpty() || item->text(0).contains(t, Qt::CaseInsensitive) ||
                         item->text(1).contains(t, Qt::CaseInsensitive) ||
                         group->text(0).contains(t, Qt::CaseInsensitive);
      item->setHidden(!match);
      if (match && !first) first = item;
      shown += match;
    }
    group->setHidden(shown == 0);
  }
  if (first && (!commands_->currentItem() || commands_->currentItem()->isHidden())) commands_->setCurrentItem(first);
}

bool MainWindow::open_database(const std::string& connection) {
  if (running()) return false;
  session_.reset();
  database_.clear();
  database_state_->setText("Нет подключения");
  auto session = std::make_unique<host::Session>();
  statusBar()->showMessage(qs("Подключение к " + connection + "..."));
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool ok = session->connect(ctx_, connection);
  QApplication::restoreOverrideCursor();
  if (!ok) {
    statusBar()->showMessage("Нет подключения");
    return false;
  }
  session->select_enterprise_if_none(ctx_);
  session_ = std::move(session);
  database_ = connection;
  database_state_->setText(qs("Подключено: " + connection + "; пользователь " + ctx_.user()));
  statusBar()->showMessage("Выберите отчёт");
  remember_database(connection);
  return true;
}

void MainWindow::run_selected() {
  QTreeWidgetItem* item = commands_->currentItem();
  if (!item || !item->parent() || item->isHidden()) {
    QMessageBox::information(this, "Информация", "Выберите отчёт в списке");
    return;
  }
  start(ss(item->text(0)));
}

std::string MainWindow::out_dir() const {
  std::string dir = ss(out_edit_->text().trimmed());
  if (dir.empty()) dir = ss(QDir::homePath());
  if (dir.back() != '/') dir += '/';
  return dir;
}

void MainWindow::set_out_dir(const std::string& folder) { out_edit_->setText(qs(folder)); }

bool MainWindow::start(const std::string& code) {
  if (running() || !library_.is_open()) return false;
  const std::string out = out_dir();
  std::error_code ec;
  fs::create_directories(out, ec);
  try {
    host::prepare_work_folder(host::work_folder(out));
  } catch (const std::exception& e) {
    QMessageBox::critical(this, "Ошибка", qs(std::string("Папка документов ") + out + ": " + e.what()));
    return false;
  }
  ctx_.ext().out_dir = out;
  ctx_.ext().work_dir = host::work_folder(out);
  ui::reset_stop();
  ui_.take_documents();
  documents_.clear();
  errors_before_ = ui_.error_boxes();
  running_code_ = code;
  set_busy(true);
  statusBar()->showMessage(qs("Выполняется " + code + "..."));
  worker_ = QThread::create([this, code] { result_ = library_.call(ctx_, code, 0); });
  connect(worker_, &QThread::finished, this, &MainWindow::finished);
  worker_->start();
  return true;
}

void MainWindow::finished() {
  worker_->wait();
  worker_->deleteLater();
  worker_ = nullptr;
  set_busy(false);
  std::vector<std::string> docs = ui_.take_documents();
  if (ui::stop_requested()) {
    // A stopped command leaves the folder as it was.
    for (const auto& path : docs) std::remove(path.c_str());
    statusBar()->showMessage(qs(running_code_ + ": " + ui::kStoppedText));
    ui::reset_stop();
    failed_ = true;
    if (on_finished) on_finished();
    return;
  }
  failed_ = ui_.error_boxes() > errors_before_;
  documents_ = docs;
  for (const auto& path : docs) document_list_->insertItem(0, qs(path));
  if (!docs.empty()) document_list_->setCurrentRow(0);
  statusBar()->showMessage(
      qs(running_code_ + (failed_ ? ": завершено с ошибкой" : ": готово") +
         (docs.empty() ? std::string() : ", документов: " + std::to_string(docs.size()))));
  if (running_code_ == kVersion)
    QMessageBox::information(this, "Информация", qs("Версия библиотеки: " + std::to_string(result_)));
  for (const auto& path : docs) offer(path);
  if (on_finished) on_finished();
}

void MainWindow::offer(const std::string& path) {
  QMessageBox box(this);
  box.setObjectName("document_ready");
  box.setWindowTitle("Документ готов");
  box.setIcon(QMessageBox::Information);
  box.setText(qs("Документ готов:\n" + path));
  QPushButton* open = box.addButton("Открыть", QMessageBox::AcceptRole);
  open->setObjectName("open");
  QPushButton* folder = box.addButton("Показать в папке", QMessageBox::ActionRole);
  folder->setObjectName("show_folder");
  QPushButton* close = box.addButton("Закрыть", QMessageBox::RejectRole);
  close->setObjectName("close");
  box.setDefaultButton(open);
  box.setEscapeButton(close);
  box.exec();
  if (box.clickedButton() == open) open_document(path, false);
  if (box.clickedButton() == folder) open_document(path, true);
}

void MainWindow::open_document(const std::string& path, bool folder) {
  const fs::path p(path);
  options_.open_url(QUrl::fromLocalFile(qs(folder ? p.parent_path().string() : p.string())));
}

void MainWindow::set_busy(bool busy) {
  for (QWidget* w : lock_while_running_) w->setEnabled(!busy);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (running()) {
    QMessageBox::warning(this, "Предупреждение",
                         "Отчёт ещё формируется. Дождитесь его окончания или нажмите \"Прервать\" в окне отчёта.");
    event->ignore();
    return;
  }
  event->accept();
}

void MainWindow::remember_database(const std::string& connection) {
  const QString c = qs(connection);
  const int at = database_box_->findText(c);
  if (at >= 0) database_box_->removeItem(at);
  database_box_->insertItem(0, c);
  while (database_box_->count() > kRecent) database_box_->removeItem(database_box_->count() - 1);
  database_box_->setCurrentIndex(0);
  save_settings();
}

void MainWindow::load_settings() {
  try {
    ui::IniFile ini(settings_file_);
    for (int i = 1; i <= kRecent; ++i)
      if (auto db = ini.read(kSection, "Db" + std::to_string(i)); db && !db->empty()) database_box_->addItem(qs(*db));
    out_edit_->setText(qs(ini.read_string(kSection, "OutDir", ss(QDir::homePath()))));
    if (ini.value_exists(kSection, "Width"))
      setGeometry(ini.read_int(kSection, "Left", x()), ini.read_int(kSection, "Top", y()),
                  ini.read_int(kSection, "Width", width()), ini.read_int(kSection, "Height", height()));
  } catch (const std::exception& e) {
    statusBar()->showMessage(qs(e.what()));
  }
}

void MainWindow::save_settings() {
  try {
    ui::IniFile ini(settings_file_);
    for (int i = 0; i < kRecent; ++i)
      ini.write_string(kSection, "Db" + std::to_string(i + 1), i < database_box_->count() ? ss(database_box_->itemText(i)) : "");
    ini.write_string(kSection, "OutDir", ss(out_edit_->text()));
    const QRect g = normalGeometry();
    ini.write_int(kSection, "Left", g.x());
    ini.write_int(kSection, "Top", g.y());
    ini.write_int(kSection, "Width", g.width());
    ini.write_int(kSection, "Height", g.height());
    ini.save();
  } catch (const std::exception& e) {
    statusBar()->showMessage(qs(e.what()));
  }
}

}  // namespace hrdoc::gui
