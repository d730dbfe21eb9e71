#include "ui/qt/qt_ui.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QVBoxLayout>
#include <exception>

#include "ui/qt/form_dialog.h"
#include "ui/qt/pick_dialog.h"
#include "ui/stop.h"

namespace hrdoc::ui {
namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

// A modal window opens over the window in front: a dialog over a form, a box over a dialog.
QWidget* owner(QWidget* fallback) {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return fallback;
}

// Everything a report window shows. The job sets it from its thread, the clock from a timer's;
// the GUI thread draws it when told that something changed.
struct WindowState {
  std::mutex mutex;
  QString caption, status, clock = "00:00";
  int position = 0, max = 0;
  bool shown = false, pending = false;
  std::function<void()> stop;
};

class ReportWidget : public QWidget {
 public:
  ReportWidget(QWidget* parent, std::shared_ptr<WindowState> state)
      : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
        state_(std::move(state)) {
    setObjectName("report");
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* layout = new QVBoxLayout(this);
    lbM_ = new QLabel(this);
    lbM_->setObjectName("lbM");
    lbM_->setMinimumWidth(380);
    pbM_ = new QProgressBar(this);
    pbM_->setObjectName("pbM");
    pbM_->setRange(0, 100);
    pbM_->setValue(0);
    auto* bottom = new QHBoxLayout;
    lbTm_ = new QLabel("00:00", this);
    lbTm_->setObjectName("lbTm");
    stop_ = new QPushButton("Прервать", this);
    stop_->setObjectName("stop");
    bottom->addWidget(lbTm_);
    bottom->addStretch();
    bottom->addWidget(stop_);
    layout->addWidget(lbM_);
    layout->addWidget(pbM_);
    layout->addLayout(bottom);
    connect(stop_, &QPushButton::clicked, this, [this] {
      std::function<void()> stop;
      {
        std::lock_guard lock(state_->mutex);
        stop = state_->stop;
      }
      stop_->setEnabled(false);
      lbM_->setText("Прерывается...");
      if (stop) stop();
    });
  }

  void refresh() {
    std::lock_guard lock(state_->mutex);
    state_->pending = false;
    setWindowTitle(state_->caption);
    if (!stop_->isEnabled()) lbM_->setText("Прерывается...");
    else lbM_->setText(state_->status);
    lbTm_->setText(state_->clock);
    pbM_->setRange(0, std::max(state_->max, 1));
    pbM_->setValue(std::min(state_->position, std::max(state_->max, 1)));
    if (state_->shown && !isVisible()) {
      adjustSize();
      // Over the main window, in its upper part, where it hides the least.
      if (QWidget* p = parentWidget()) move(p->geometry().center().x() - width() / 2, p->geometry().y() + 60);
      show();
    }
  }

 private:
  std::shared_ptr<WindowState> state_;
  QLabel* lbM_;
  QProgressBar* pbM_;
  QLabel* lbTm_;
  QPushButton* stop_;
};

class QtWindow : public Window {
 public:
  QtWindow(QWidget* parent, const std::string& caption) : state_(std::make_shared<WindowState>()) {
    state_->caption = qs(caption);
    on_gui_thread([&] { widget_ = new ReportWidget(parent, state_); });
    changed();
  }
  ~QtWindow() override {
    close();
    QPointer<ReportWidget> w = widget_;
    on_gui_thread([w] { delete w.data(); });
  }
  void set_caption(const std::string& text) override { update([&] { state_->caption = qs(text); }); }
  void show() override { update([&] { state_->shown = true; }); }
  void set_status(const std::string& text) override {
    update([&] {
      state_->status = qs(text);
      state_->shown = true;
    });
  }
  void set_progress(int position, int max) override {
    update([&] {
      state_->position = position, state_->max = max;
      state_->shown = true;
    });
  }
  void set_clock(const std::string& text) override { update([&] { state_->clock = qs(text); }); }
  void close() override {
    QPointer<ReportWidget> w = widget_;
    on_gui_thread([w] {
      if (w) w->hide();
    });
  }
  void on_stop(std::function<void()> stop) override {
    std::lock_guard lock(state_->mutex);
    state_->stop = std::move(stop);
  }

 private:
  template <class F>
  void update(F&& f) {
    {
      std::lock_guard lock(state_->mutex);
      f();
    }
    changed();
  }
  // One redraw waits at a time, however fast the job steps.
  void changed() {
    {
      std::lock_guard lock(state_->mutex);
      if (state_->pending) return;
      state_->pending = true;
    }
    QPointer<ReportWidget> w = widget_;
    QMetaObject::invokeMethod(
        widget_.data(), [w] { if (w) w->refresh(); }, Qt::QueuedConnection);
  }

  std::shared_ptr<WindowState> state_;
  QPointer<ReportWidget> widget_;
};

struct Buttons {
  QMessageBox::StandardButton button;
  const char* caption;
  const char* name;
  int id;
};

}  // namespace

void on_gui_thread(const std::function<void()>& f) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app || QThread::currentThread() == app->thread()) {
    f();
    return;
  }
  // An exception crosses back to the caller's thread instead of into the event loop.
  std::exception_ptr error;
  QMetaObject::invokeMethod(
      app,
      [&] {
        try {
          f();
        } catch (...) {
          error = std::current_exception();
        }
      },
      Qt::BlockingQueuedConnection);
  if (error) std::rethrow_exception(error);
}

QtUi::QtUi(QWidget* parent) : parent_(parent) {}
QtUi::~QtUi() = default;

int QtUi::message_box(const std::string& caption, const std::string& text, unsigned flags) {
  // Once the user stopped the command, what fails on the way out is not shown.
  if (stop_requested()) return default_answer(flags);
  count_box(flags);
  int answer = default_answer(flags);
  on_gui_thread([&] {
    QMessageBox box(owner(parent_));
    box.setObjectName("message");
    box.setWindowTitle(qs(caption));
    box.setText(qs(text));
    switch (flags & 0xF0) {
      case MB_ICONERROR: box.setIcon(QMessageBox::Critical); break;
      case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
      case MB_ICONWARNING: box.setIcon(QMessageBox::Warning); break;
      case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
      default: box.setIcon(QMessageBox::NoIcon); break;
    }
    std::vector<Buttons> list;
    switch (flags & 0xF) {
      case MB_OKCANCEL:
        list = {{QMessageBox::Ok, "OK", "ok", IDOK}, {QMessageBox::Cancel, "Отмена", "cancel", IDCANCEL}};
        break;
      case MB_YESNO: list = {{QMessageBox::Yes, "Да", "yes", IDYES}, {QMessageBox::No, "Нет", "no", IDNO}}; break;
      case MB_YESNOCANCEL:
        list = {{QMessageBox::Yes, "Да", "yes", IDYES},
                {QMessageBox::No, "Нет", "no", IDNO},
                {QMessageBox::Cancel, "Отмена", "cancel", IDCANCEL}};
        break;
      default: list = {{QMessageBox::Ok, "OK", "ok", IDOK}}; break;
    }
    const int def = default_answer(flags);
    for (const auto& b : list) {
      QAbstractButton* button = box.addButton(b.button);
      button->setText(b.caption);
      button->setObjectName(b.name);
      if (b.id == def) box.setDefaultButton(static_cast<QPushButton*>(button));
      if (b.id == IDCANCEL || list.size() == 1) box.setEscapeButton(button);
    }
    box.exec();
    for (const auto& b : list)
      if (box.clickedButton() == box.button(b.button)) answer = b.id;
  });
  return answer;
}

bool QtUi::edit_form(Form& form) {
  bool ok = false;
  on_gui_thread([&] {
    FormDialog dialog(form, owner(parent_));
    ok = dialog.run();
  });
  return ok;
}

std::unique_ptr<Window> QtUi::open_window(const std::string& caption) {
  return std::make_unique<QtWindow>(parent_, caption);
}

void QtUi::document(const std::string& path) {
  if (stop_requested()) return;
  std::lock_guard lock(mutex_);
  documents_.push_back(path);
}

std::vector<std::string> QtUi::take_documents() {
  std::lock_guard lock(mutex_);
  std::vector<std::string> out;
  out.swap(documents_);
  return out;
}

namespace {

int pick(QWidget* parent, const std::string& caption, const std::vector<std::string>& columns,
         const std::vector<PickDialog::Row>& rows, int current, std::vector<bool>* ticks) {
  int chosen = -1;
  on_gui_thread([&] {
    PickDialog dialog(owner(parent), caption, columns, rows, current, ticks);
    if (dialog.exec() != QDialog::Accepted) return;
    if (ticks) {
      *ticks = dialog.ticks();
      chosen = 0;
    } else {
      chosen = dialog.chosen();
    }
  });
  return chosen;
}

}  // namespace

int QtUi::choose(const std::string& caption, const std::vector<std::string>& items, int current) {
  std::vector<PickDialog::Row> rows;
  for (const auto& item : items) rows.push_back({{item}, -1});
  return pick(parent_, caption, {}, rows, current, nullptr);
}

int QtUi::choose_row(const std::string& caption, const Table& table, int current) {
  std::vector<PickDialog::Row> rows;
  for (const auto& r : table.rows) rows.push_back({r, -1});
  return pick(parent_, caption, table.columns, rows, current, nullptr);
}

int QtUi::choose_node(const std::string& caption, const Tree& tree, int current) {
  std::vector<PickDialog::Row> rows;
  for (const auto& n : tree.nodes) rows.push_back({{n.name}, n.parent});
  return pick(parent_, caption, {}, rows, current, nullptr);
}

bool QtUi::tick_nodes(const std::string& caption, const Tree& tree, std::vector<bool>& ticks) {
  std::vector<PickDialog::Row> rows;
  for (const auto& n : tree.nodes) rows.push_back({{n.name}, n.parent});
  std::vector<bool> result = ticks;
  result.resize(tree.nodes.size());
  if (pick(parent_, caption, {}, rows, -1, &result) < 0) return false;
  ticks = result;
  return true;
}

std::pair<int, int> QtUi::desktop_size() const {
  std::pair<int, int> size{0, 0};
  on_gui_thread([&] {
    if (QScreen* s = QGuiApplication::primaryScreen()) size = {s->availableGeometry().width(), s->availableGeometry().height()};
  });
  return size;
}

}  // namespace hrdoc::ui
