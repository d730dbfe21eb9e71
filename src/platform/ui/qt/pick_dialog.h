#pragma once
// One dialog for every selection list: plain lines, rows in columns, a tree of nodes, or a tree
// with ticks; a search box above hides the rows that do not match (a tree keeps the parents of
// a match).

#include <QDialog>
#include <string>
#include <vector>

class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace hrdoc::ui {

class PickDialog : public QDialog {
 public:
  struct Row {
    std::vector<std::string> cells;
    int parent = -1;  // index of the parent row; -1 at the top
  };
  // columns: the header captions (empty: no header, one column); ticks: null for a pick of
  // one row, else one tick per row, shown as check boxes.
  PickDialog(QWidget* parent, const std::string& caption, const std::vector<std::string>& columns,
             const std::vector<Row>& rows, int current, const std::vector<bool>* ticks);

  // The row chosen (-1: none) and the ticks, after exec().
  int chosen() const;
  std::vector<bool> ticks() const;
  // Hides the rows that do not contain the text (case aside).
  void filter(const QString& text);

 private:
  bool show_matches(QTreeWidgetItem* item, const QString& text);
  void tick_all(bool on);

  QLineEdit* search_ = nullptr;
  QTreeWidget* list_ = nullptr;
  std::vector<QTreeWidgetItem*> items_;
  bool ticking_ = false;
};

}  // namespace hrdoc::ui
