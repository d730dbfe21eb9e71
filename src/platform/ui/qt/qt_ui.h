#pragma once
// The desktop renderer of the user interface: Qt 6 Widgets windows for the clerks. A command
// runs on a worker thread while the windows live on the GUI thread: every call from the worker
// is carried to the GUI thread, the worker waiting for the answer, so the windows stay
// responsive while a report works. Calls made on the GUI thread itself (a look-up's "..." in a
// form) run at once.

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "ui/ui.h"

class QWidget;

namespace hrdoc::ui {

class QtUi : public Ui {
 public:
  // Windows open over `parent` (the main window; null: top-level windows).
  explicit QtUi(QWidget* parent = nullptr);
  ~QtUi() override;

  int message_box(const std::string& caption, const std::string& text, unsigned flags) override;
  bool edit_form(Form& form) override;
  std::unique_ptr<Window> open_window(const std::string& caption) override;
  void document(const std::string& path) override;
  int choose(const std::string& caption, const std::vector<std::string>& items, int current) override;
  int choose_row(const std::string& caption, const Table& table, int current) override;
  int choose_node(const std::string& caption, const Tree& tree, int current) override;
  bool tick_nodes(const std::string& caption, const Tree& tree, std::vector<bool>& ticks) override;
  bool can_ask_again() const override { return true; }
  std::pair<int, int> desktop_size() const override;

  // The documents announced since the last take, in order.
  std::vector<std::string> take_documents();

 private:
  QWidget* parent_;
  std::mutex mutex_;
  std::vector<std::string> documents_;
};

// Runs f on the GUI thread and waits for it; at once when called there.
void on_gui_thread(const std::function<void()>& f);

}  // namespace hrdoc::ui
