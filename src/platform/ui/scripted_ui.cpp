#include "ui/scripted_ui.h"

namespace hrdoc::ui {
namespace {

class ScriptedWindow : public Window {
 public:
  ScriptedWindow(std::vector<ScriptedUi::WindowLog>& logs, size_t index) : logs_(logs), index_(index) {}
  void set_status(const std::string& text) override { log().statuses.push_back(text); }
  void set_progress(int position, int max) override {
    log().position = position;
    log().max = max;
  }
  void set_clock(const std::string& text) override { log().clocks.push_back(text); }
  void close() override { log().closed = true; }

 private:
  // By index: the log vector may grow while the window is open.
  ScriptedUi::WindowLog& log() { return logs_[index_]; }
  std::vector<ScriptedUi::WindowLog>& logs_;
  size_t index_;
};

}  // namespace

int ScriptedUi::message_box(const std::string& caption, const std::string& text, unsigned flags) {
  count_box(flags);
  boxes.push_back({caption, text, flags});
  if (answers.empty()) return default_answer(flags);
  int a = answers.front();
  answers.pop_front();
  return a;
}

bool ScriptedUi::edit_form(Form& form) {
  if (on_form) on_form(form);
  bool confirmed = true;
  if (!form_answers.empty()) {
    FormAnswer a = std::move(form_answers.front());
    form_answers.pop_front();
    for (auto& [name, value] : a.values)
      if (Field* f = form.find(name)) f->value = value;
    confirmed = !a.cancel;
  }
  forms.push_back(form);
  return confirmed;
}

std::unique_ptr<Window> ScriptedUi::open_window(const std::string& caption) {
  windows.push_back({caption, {}, {}, 0, 0, false});
  return std::make_unique<ScriptedWindow>(windows, windows.size() - 1);
}

void ScriptedUi::document(const std::string& path) { documents.push_back(path); }

}  // namespace hrdoc::ui
