#pragma once
// A modal window built from a form declaration: one entry per field (a date with its calendar
// pop-up, text, memo, spin, a radio group in its group box, a look-up with its "..." button, a
// check list in columns with "tick all" / "untick all", a check box, a pick list), the form's
// own buttons, its actions on their shortcuts and in the context menu, and its placement.

#include <QDialog>
#include <functional>
#include <vector>

#include "ui/ui.h"

class QBoxLayout;
class QFormLayout;

namespace hrdoc::ui {

class FormDialog : public QDialog {
 public:
  FormDialog(Form& form, QWidget* parent);

  // Shows the dialog modally; true when a button other than a cancel one was pressed (the form
  // then holds the entries and the button's name in pressed).
  bool run();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void add_field(size_t index, QFormLayout* rows);
  // Widgets from the form and back.
  void load();
  void store();
  void press(const Button& button);
  void apply_placement();
  void keep_placement();
  void run_lookup(size_t index);
  void error(const QString& text);

  Form& form_;
  std::vector<std::function<void()>> loaders_, storers_;
  bool enter_moves_ = false;
  bool pressed_ = false;
};

}  // namespace hrdoc::ui
