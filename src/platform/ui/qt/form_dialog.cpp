#include "ui/qt/form_dialog.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QSpinBox>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>
#include <exception>

namespace hrdoc::ui {
namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }
std::string ss(const QString& s) { return s.toStdString(); }

// The date that stands for "no date": shown blank.
const QDate kNoDate(1900, 1, 1);
const char* const kDateFormat = "dd.MM.yyyy";

// A date entry that Delete clears.
class DateEdit : public QDateEdit {
 public:
  using QDateEdit::QDateEdit;

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    if (e->key() == Qt::Key_Delete && e->modifiers() == Qt::NoModifier) {
      setDate(kNoDate);
      return;
    }
    QDateEdit::keyPressEvent(e);
  }
};

}  // namespace

FormDialog::FormDialog(Form& form, QWidget* parent) : QDialog(parent), form_(form) {
  setObjectName(qs(form.name.empty() ? "form" : form.name));
  setWindowTitle(qs(form.caption));
  // Windows that keep their placement are the suite's dialogs, where Enter moves on.
  enter_moves_ = form.placement.set;
  auto* layout = new QVBoxLayout(this);

  QFormLayout* rows = nullptr;
  std::string group;
  for (size_t i = 0; i < form.fields.size(); ++i) {
    const Field& f = form.fields[i];
    if (!rows || f.group != group) {
      group = f.group;
      rows = new QFormLayout;
      rows->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
      if (group.empty()) {
        layout->addLayout(rows);
      } else {
        auto* box = new QGroupBox(qs(group), this);
        box->setLayout(rows);
        layout->addWidget(box);
      }
    }
    add_field(i, rows);
  }

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  const Button& def = form.default_button();
  for (const Button& b : form.effective_buttons()) {
    auto* button = new QPushButton(qs(b.caption), this);
    button->setObjectName(qs(b.name));
    button->setAutoDefault(false);
    if (b.name == def.name) button->setDefault(true);
    connect(button, &QPushButton::clicked, this, [this, b] { press(b); });
    buttons->addWidget(button);
  }
  layout->addLayout(buttons);

  for (const FormAction& a : form.actions) {
    auto* action = new QAction(qs(a.caption), this);
    if (!a.shortcut.empty()) action->setShortcut(QKeySequence(qs(a.shortcut)));
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, [this, run = a.run] {
      if (!run) return;
      store();
      run();
      load();
      apply_placement();
    });
    addAction(action);
  }
  if (!form.actions.empty()) setContextMenuPolicy(Qt::ActionsContextMenu);
  load();
  apply_placement();
}

void FormDialog::add_field(size_t index, QFormLayout* rows) {
  Field& f = form_.fields[index];
  const QString name = qs(f.name);
  auto field = [this, index]() -> Field& { return form_.fields[index]; };
  switch (f.kind) {
    case FieldKind::date: {
      auto* edit = new DateEdit(this);
      edit->setObjectName(name);
      edit->setCalendarPopup(true);
      edit->setDisplayFormat(kDateFormat);
      edit->setMinimumDate(kNoDate);
      edit->setSpecialValueText(" ");
      rows->addRow(qs(f.caption), edit);
      loaders_.push_back([edit, field] {
        QDate d = QDate::fromString(qs(field().value), kDateFormat);
        edit->setDate(d.isValid() ? d : kNoDate);
      });
      storers_.push_back([edit, field] {
        field().value = edit->date() == kNoDate ? std::string() : ss(edit->date().toString(kDateFormat));
      });
      break;
    }
    case FieldKind::text: {
      auto* edit = new QLineEdit(this);
      edit->setObjectName(name);
      rows->addRow(qs(f.caption), edit);
      loaders_.push_back([edit, field] { edit->setText(qs(field().value)); });
      storers_.push_back([edit, field] { field().value = ss(edit->text()); });
      break;
    }
    case FieldKind::memo: {
      auto* edit = new QPlainTextEdit(this);
      edit->setObjectName(name);
      edit->setTabChangesFocus(true);
      edit->setMinimumHeight(70);
      rows->addRow(qs(f.caption), edit);
      loaders_.push_back([edit, field] { edit->setPlainText(qs(field().value)); });
      storers_.push_back([edit, field] { field().value = ss(edit->toPlainText()); });
      break;
    }
    case FieldKind::spin: {
      auto* edit = new QSpinBox(this);
      edit->setObjectName(name);
      edit->setRange(f.min, f.max);
      rows->addRow(qs(f.caption), edit);
      loaders_.push_back([edit, field] { edit->setValue(std::atoi(field().value.c_str())); });
      storers_.push_back([edit, field] { field().value = std::to_string(edit->value()); });
      break;
    }
    case FieldKind::radio: {
      auto* box = new QGroupBox(qs(f.caption), this);
      box->setObjectName(name);
      auto* inner = new QVBoxLayout(box);
      auto* group = new QButtonGroup(box);
      for (size_t i = 0; i < f.items.size(); ++i) {
        auto* radio = new QRadioButton(qs(f.items[i]), box);
        radio->setObjectName(name + "_" + QString::number(i));
        group->addButton(radio, static_cast<int>(i));
        inner->addWidget(radio);
      }
      rows->addRow(box);
      loaders_.push_back([group, field] {
        const int i = field().index();
        if (QAbstractButton* b = group->button(i)) b->setChecked(true);
      });
      storers_.push_back([group, field] {
        if (group->checkedId() >= 0) field().value = std::to_string(group->checkedId());
      });
      break;
    }
    case FieldKind::lookup: {
      auto* line = new QWidget(this);
      auto* h = new QHBoxLayout(line);
      h->setContentsMargins(0, 0, 0, 0);
      auto* edit = new QLineEdit(line);
      edit->setObjectName(name);
      h->addWidget(edit);
      if (f.lookup) {
        auto* more = new QToolButton(line);
        more->setObjectName(name + "_lookup");
        more->setText("...");
        more->setToolTip("Выбрать из списка");
        connect(more, &QToolButton::clicked, this, [this, index] { run_lookup(index); });
        h->addWidget(more);
      }
      rows->addRow(qs(f.caption), line);
      loaders_.push_back([edit, field] { edit->setText(qs(field().value)); });
      storers_.push_back([edit, field] { field().value = ss(edit->text()); });
      break;
    }
    case FieldKind::checklist: {
      auto* box = new QWidget(this);
      auto* v = new QVBoxLayout(box);
      v->setContentsMargins(0, 0, 0, 0);
      auto* list = new QTreeWidget(box);
      list->setObjectName(name);
      list->setRootIsDecorated(false);
      list->setUniformRowHeights(true);
      const bool columns = !f.columns.empty();
      list->setColumnCount(columns ? static_cast<int>(f.columns.size()) : 1);
      if (columns) {
        QStringList header;
        for (const auto& c : f.columns) header << qs(c);
        list->setHeaderLabels(header);
      } else {
        list->setHeaderHidden(true);
      }
      for (size_t i = 0; i < f.items.size(); ++i) {
        auto* item = new QTreeWidgetItem(list);
        if (columns && i < f.cells.size())
          for (size_t c = 0; c < f.cells[i].size(); ++c) item->setText(static_cast<int>(c), qs(f.cells[i][c]));
        else
          item->setText(0, qs(f.items[i]));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Unchecked);
      }
      for (int c = 0; c < list->columnCount(); ++c) list->resizeColumnToContents(c);
      list->setMinimumHeight(std::min(60 + 20 * static_cast<int>(f.items.size()), 320));
      v->addWidget(list);
      auto* actions = new QHBoxLayout;
      auto* all = new QPushButton("Отметить все", box);
      all->setObjectName(name + "_tick_all");
      auto* none = new QPushButton("Снять все", box);
      none->setObjectName(name + "_untick_all");
      for (auto* b : {all, none}) b->setAutoDefault(false);
      auto tick = [list](bool on) {
        for (int i = 0; i < list->topLevelItemCount(); ++i)
          list->topLevelItem(i)->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
      };
      connect(all, &QPushButton::clicked, list, [tick] { tick(true); });
      connect(none, &QPushButton::clicked, list, [tick] { tick(false); });
      actions->addWidget(all);
      actions->addWidget(none);
      actions->addStretch();
      v->addLayout(actions);
      rows->addRow(new QLabel(qs(f.caption), this));
      rows->addRow(box);
      loaders_.push_back([list, field] {
        const Field& f = field();
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
          const bool on = static_cast<size_t>(i) < f.checked.size() && f.checked[static_cast<size_t>(i)];
          list->topLevelItem(i)->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
        }
      });
      storers_.push_back([list, field] {
        Field& f = field();
        f.checked.assign(f.items.size(), false);
        for (int i = 0; i < list->topLevelItemCount() && static_cast<size_t>(i) < f.items.size(); ++i)
          f.checked[static_cast<size_t>(i)] = list->topLevelItem(i)->checkState(0) == Qt::Checked;
      });
      break;
    }
    case FieldKind::check: {
      auto* box = new QCheckBox(qs(f.caption), this);
      box->setObjectName(name);
      rows->addRow(box);
      loaders_.push_back([box, field] { box->setChecked(field().value == "1"); });
      storers_.push_back([box, field] { field().value = std::string(1, box->isChecked() ? '1' : '0'); });
      break;
    }
    case FieldKind::pick: {
      auto* combo = new QComboBox(this);
      combo->setObjectName(name);
      for (const auto& item : f.items) combo->addItem(qs(item));
      combo->setPlaceholderText("(выберите)");
      rows->addRow(qs(f.caption), combo);
      loaders_.push_back([combo, field] { combo->setCurrentIndex(field().index()); });
      storers_.push_back([combo, field] {
        field().value = combo->currentIndex() < 0 ? std::string() : std::to_string(combo->currentIndex());
      });
      break;
    }
  }
}

void FormDialog::error(const QString& text) {
  QMessageBox box(QMessageBox::Critical, "Ошибка", text, QMessageBox::Ok, this);
  box.setObjectName("message");
  box.exec();
}

void FormDialog::load() {
  for (auto& f : loaders_) f();
}

void FormDialog::store() {
  for (auto& f : storers_) f();
}

void FormDialog::run_lookup(size_t index) {
  store();
  try {
    if (form_.fields[index].lookup(form_.fields[index], form_)) load();
  } catch (const std::exception& e) {
    error(QString::fromStdString(e.what()));
  }
}

void FormDialog::press(const Button& b) {
  store();
  pressed_ = true;
  form_.pressed = b.name;
  if (b.cancel) {
    reject();
    return;
  }
  auto missing = form_.missing();
  if (!missing.empty()) {
    QString text = "Не заполнено:";
    for (const Field* f : missing) text += "\n" + qs(f->caption);
    error(text);
    if (QWidget* w = findChild<QWidget*>(qs(missing.front()->name))) w->setFocus();
    return;
  }
  accept();
}

void FormDialog::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && enter_moves_ && event->modifiers() == Qt::NoModifier && !qobject_cast<QPushButton*>(focusWidget())) {
    focusNextChild();
    return;
  }
  if (event->key() == Qt::Key_Escape) {
    // Escape is the cancel button, when the form has one.
    for (const Button& b : form_.effective_buttons())
      if (b.cancel) {
        press(b);
        return;
      }
    return;
  }
  QDialog::keyPressEvent(event);
}

void FormDialog::apply_placement() {
  const Placement& p = form_.placement;
  if (!p.set) return;
  QFont font = QApplication::font();
  if (p.scale > 0 && p.scale != 100) font.setPointSizeF(font.pointSizeF() * p.scale / 100.0);
  setFont(font);
  adjustSize();
  if (p.width > 0 && p.height > 0) resize(std::max(p.width, minimumSizeHint().width()), std::max(p.height, minimumSizeHint().height()));
  if (!p.centred) {
    move(p.left, p.top);
  } else if (QScreen* screen = QApplication::primaryScreen()) {
    const QRect r = screen->availableGeometry();
    move(r.x() + (r.width() - width()) / 2, r.y() + (r.height() - height()) / 2);
  }
}

void FormDialog::keep_placement() {
  Placement& p = form_.placement;
  if (!p.set) return;
  p.left = x(), p.top = y(), p.width = width(), p.height = height();
  p.centred = false;
}

bool FormDialog::run() {
  const bool ok = exec() == QDialog::Accepted;
  store();
  keep_placement();
  if (!ok && !pressed_) {
    // Closed by the window manager: as the cancel button.
    for (const Button& b : form_.effective_buttons())
      if (b.cancel) form_.pressed = b.name;
  }
  return ok;
}

}  // namespace hrdoc::ui
