#include "ui/qt/pick_dialog.h"

#include <QDialogButtonBox>
#include <algorithm>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace hrdoc::ui {

namespace {
QString qs(const std::string& s) { return QString::fromStdString(s); }
// Whether a row matches the search itself (not only through a row below it).
constexpr int kMatches = Qt::UserRole + 1;
}  // namespace

PickDialog::PickDialog(QWidget* parent, const std::string& caption, const std::vector<std::string>& columns,
                       const std::vector<Row>& rows, int current, const std::vector<bool>* ticks)
    : QDialog(parent), ticking_(ticks != nullptr) {
  setObjectName("pick");
  // A caption of several lines: the first is the title, the rest is said above the list.
  const std::string title = caption.substr(0, caption.find('\n'));
  setWindowTitle(qs(title));
  auto* layout = new QVBoxLayout(this);
  if (title.size() < caption.size()) layout->addWidget(new QLabel(qs(caption.substr(title.size() + 1)), this));

  auto* search_row = new QHBoxLayout;
  search_row->addWidget(new QLabel("Поиск:", this));
  search_ = new QLineEdit(this);
  search_->setObjectName("search");
  search_->setClearButtonEnabled(true);
  search_row->addWidget(search_);
  layout->addLayout(search_row);

  list_ = new QTreeWidget(this);
  list_->setObjectName("list");
  const bool tree = std::any_of(rows.begin(), rows.end(), [](const Row& r) { return r.parent >= 0; });
  list_->setRootIsDecorated(tree);
  list_->setUniformRowHeights(true);
  list_->setColumnCount(columns.empty() ? 1 : static_cast<int>(columns.size()));
  if (columns.empty()) {
    list_->setHeaderHidden(true);
  } else {
    QStringList header;
    for (const auto& c : columns) header << qs(c);
    list_->setHeaderLabels(header);
  }
  for (size_t i = 0; i < rows.size(); ++i) {
    const Row& r = rows[i];
    QTreeWidgetItem* item = r.parent >= 0 && static_cast<size_t>(r.parent) < i
                                ? new QTreeWidgetItem(items_[static_cast<size_t>(r.parent)])
                                : new QTreeWidgetItem(list_);
    for (size_t c = 0; c < r.cells.size(); ++c) item->setText(static_cast<int>(c), qs(r.cells[c]));
    item->setData(0, Qt::UserRole, static_cast<int>(i));
    item->setData(0, kMatches, true);
    if (ticking_) {
      item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
      item->setCheckState(0, i < ticks->size() && (*ticks)[i] ? Qt::Checked : Qt::Unchecked);
    }
    items_.push_back(item);
  }
  list_->expandAll();
  for (int c = 0; c < list_->columnCount(); ++c) list_->resizeColumnToContents(c);
  if (current >= 0 && static_cast<size_t>(current) < items_.size()) {
    list_->setCurrentItem(items_[static_cast<size_t>(current)]);
    list_->scrollToItem(items_[static_cast<size_t>(current)]);
  } else if (!items_.empty()) {
    list_->setCurrentItem(items_.front());
  }
  layout->addWidget(list_);

  auto* buttons = new QDialogButtonBox(this);
  if (ticking_) {
    auto* all = buttons->addButton("Отметить все", QDialogButtonBox::ActionRole);
    all->setObjectName("tick_all");
    auto* none = buttons->addButton("Снять все", QDialogButtonBox::ActionRole);
    none->setObjectName("untick_all");
    connect(all, &QPushButton::clicked, this, [this] { tick_all(true); });
    connect(none, &QPushButton::clicked, this, [this] { tick_all(false); });
  }
  auto* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
  ok->setObjectName("ok");
  ok->setDefault(true);
  buttons->addButton("Отмена", QDialogButtonBox::RejectRole)->setObjectName("cancel");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);

  connect(search_, &QLineEdit::textChanged, this, &PickDialog::filter);
  if (!ticking_)
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem*, int) { accept(); });
  int width = 0;
  for (int c = 0; c < list_->columnCount(); ++c) width += list_->columnWidth(c);
  resize(std::clamp(width + 60, 360, 900), std::clamp(static_cast<int>(rows.size()) * 22 + 140, 240, 600));
  search_->setFocus();
}

bool PickDialog::show_matches(QTreeWidgetItem* item, const QString& text) {
  bool match = text.isEmpty();
  for (int c = 0; !match && c < item->columnCount(); ++c) match = item->text(c).contains(text, Qt::CaseInsensitive);
  bool below = false;
  for (int i = 0; i < item->childCount(); ++i) below = show_matches(item->child(i), text) || below;
  item->setHidden(!match && !below);
  item->setData(0, kMatches, match);
  return match || below;
}

void PickDialog::filter(const QString& text) {
  if (search_->text() != text) search_->setText(text);
  const QString t = text.trimmed();
  for (int i = 0; i < list_->topLevelItemCount(); ++i) show_matches(list_->topLevelItem(i), t);
  list_->expandAll();
  // The current row stays when it still shows; otherwise the first row that matches itself.
  QTreeWidgetItem* current = list_->currentItem();
  if (current && !current->isHidden() && (t.isEmpty() || current->text(0).contains(t, Qt::CaseInsensitive))) return;
  for (QTreeWidgetItem* item : items_) {
    bool match = t.isEmpty();
    for (int c = 0; !match && c < item->columnCount(); ++c) match = item->text(c).contains(t, Qt::CaseInsensitive);
    if (!item->isHidden() && match) {
      list_->setCurrentItem(item);
      list_->scrollToItem(item);
      return;
    }
  }
}

void PickDialog::tick_all(bool on) {
  for (QTreeWidgetItem* item : items_)
    if (!item->isHidden() && item->data(0, kMatches).toBool()) item->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
}

int PickDialog::chosen() const {
  QTreeWidgetItem* item = list_->currentItem();
  if (!item || item->isHidden()) return -1;
  return item->data(0, Qt::UserRole).toInt();
}

std::vector<bool> PickDialog::ticks() const {
  std::vector<bool> out;
  for (QTreeWidgetItem* item : items_) out.push_back(item->checkState(0) == Qt::Checked);
  return out;
}

}  // namespace hrdoc::ui
