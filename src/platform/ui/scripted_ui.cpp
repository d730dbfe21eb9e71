#include "ui/scripted_ui.h"

#include <stdexcept>

namespace hrdoc::ui {

class ScriptedTicker : public Ticker {
 public:
  ScriptedTicker(ScriptedUi& ui, int id) : ui_(ui), id_(id) {}
  ~ScriptedTicker() override {
    std::lock_guard lock(ui_.mutex_);
    ui_.timers_.erase(id_);
  }

 private:
  ScriptedUi& ui_;
  int id_;
};

namespace {

class ScriptedWindow : public Window {
 public:
  ScriptedWindow(ScriptedUi& ui, size_t index) : ui_(ui), index_(index) {}
  void set_caption(const std::string& text) override {
    std::lock_guard lock(ui_.mutex());
    log().caption = text;
    log().captions.push_back(text);
  }
  void show() override {
    std::lock_guard lock(ui_.mutex());
    log().shown = true;
  }
  void set_status(const std::string& text) override {
    std::lock_guard lock(ui_.mutex());
    log().statuses.push_back(text);
  }
  void set_progress(int position, int max) override {
    std::lock_guard lock(ui_.mutex());
    log().position = position;
    log().max = max;
    log().progress.emplace_back(position, max);
  }
  void set_clock(const std::string& text) override {
    std::lock_guard lock(ui_.mutex());
    log().clocks.push_back(text);
  }
  void close() override {
    std::lock_guard lock(ui_.mutex());
    log().closed = true;
  }

 private:
  // By index: the log vector may grow while the window is open.
  ScriptedUi::WindowLog& log() { return ui_.windows[index_]; }
  ScriptedUi& ui_;
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
  const Button* pressed = form.unattended_button();
  bool cancelled = false;
  if (!form_answers.empty()) {
    FormAnswer a = std::move(form_answers.front());
    form_answers.pop_front();
    pressed = &form.default_button();
    for (auto& [name, value] : a.values) {
      Field* f = form.find(name);
      if (!f) continue;
      // A value no user could enter is kept as it stands, so that tests reach the checks of
      // the form's owner with it.
      if (!assign(*f, value).empty()) f->value = value;
    }
    if (!a.button.empty()) pressed = form.button(a.button);
    if (!pressed) throw std::logic_error("form " + form.name + " has no button " + a.button);
    if (a.cancel && !pressed->cancel) {
      cancelled = true;
      const Button* close = nullptr;
      for (const auto& b : form.effective_buttons())
        if (b.cancel && !close) close = form.button(b.name);
      if (close) pressed = close;
    }
  }
  const bool confirmed = pressed && !pressed->cancel && !cancelled;
  form.pressed = pressed ? pressed->name : std::string();
  // The record keeps the form's data, not its callbacks: their code may live in a sibling
  // library unloaded once its call returns.
  Form record = form;
  for (auto& f : record.fields) f.lookup = nullptr;
  for (auto& a : record.actions) a.run = nullptr;
  forms.push_back(std::move(record));
  return confirmed;
}

std::unique_ptr<Window> ScriptedUi::open_window(const std::string& caption) {
  std::lock_guard lock(mutex_);
  WindowLog log;
  log.caption = caption;
  windows.push_back(log);
  return std::make_unique<ScriptedWindow>(*this, windows.size() - 1);
}

void ScriptedUi::document(const std::string& path) { documents.push_back(path); }

int ScriptedUi::choose(const std::string& caption, const std::vector<std::string>& items, int) {
  menus.push_back(caption);
  if (choices.empty()) return -1;
  int c = choices.front();
  choices.pop_front();
  return c >= 0 && c < static_cast<int>(items.size()) ? c : -1;
}

int ScriptedUi::choose_row(const std::string& caption, const Table& table, int current) {
  row_lists.push_back({caption, table, current});
  return choose(caption, std::vector<std::string>(table.rows.size()), current);
}

std::unique_ptr<Ticker> ScriptedUi::start_timer(int, std::function<void()> on_tick) {
  std::lock_guard lock(mutex_);
  int id = next_timer_++;
  timers_[id] = std::move(on_tick);
  return std::make_unique<ScriptedTicker>(*this, id);
}

void ScriptedUi::tick(int n) {
  for (int i = 0; i < n; ++i) {
    std::vector<std::function<void()>> due;
    {
      std::lock_guard lock(mutex_);
      for (auto& [id, fn] : timers_) due.push_back(fn);
    }
    for (auto& fn : due) fn();
  }
}

int ScriptedUi::running_timers() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(timers_.size());
}

}  // namespace hrdoc::ui
