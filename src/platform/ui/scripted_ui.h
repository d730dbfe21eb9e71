#pragma once
// The renderer for tests: answers queued by the test, everything shown recorded.

#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "ui/ui.h"

namespace hrdoc::ui {

class ScriptedUi : public Ui {
 public:
  struct Box {
    std::string caption, text;
    unsigned flags = 0;
  };
  // Every state a report window went through.
  struct WindowLog {
    std::string caption;
    std::vector<std::string> captions;  // every caption set after opening
    bool shown = false;
    std::vector<std::string> statuses;
    std::vector<std::pair<int, int>> progress;  // (position, max), every change
    std::vector<std::string> clocks;
    int position = 0, max = 0;
    bool closed = false;
  };

  // Answers for the next boxes, in order; a box with no answer queued takes its default.
  std::deque<int> answers;
  // Values for the next forms: field name -> value as a user would type it (normalised as the
  // terminal does; a value no user could enter is set as it stands; names the form lacks are
  // left out); a form with
  // nothing queued takes its unattended button (Form::unattended_button). A queued entry presses
  // the default button, or the one button names (or captions); with cancel set it cancels.
  struct FormAnswer {
    std::map<std::string, std::string> values;
    bool cancel = false;
    std::string button;
  };
  std::deque<FormAnswer> form_answers;
  // Called for each form before the queued answer is applied (tests may edit the form freely,
  // run its look-ups or actions).
  std::function<void(Form&)> on_form;
  // Indexes for the next selection lists; -1 chooses nothing. Nothing queued: nothing chosen.
  std::deque<int> choices;
  // The desktop reported to windows that centre themselves.
  std::pair<int, int> desktop{0, 0};

  std::vector<Box> boxes;
  std::vector<Form> forms;  // as shown, without their look-ups and actions
  std::vector<WindowLog> windows;
  std::vector<std::string> documents;
  std::vector<std::string> menus;  // captions of the selection lists shown
  struct RowList {
    std::string caption;
    Table table;
    int current = -1;
  };
  std::vector<RowList> row_lists;  // the selection lists in columns shown (also counted in menus)

  int message_box(const std::string& caption, const std::string& text, unsigned flags) override;
  bool edit_form(Form& form) override;
  std::unique_ptr<Window> open_window(const std::string& caption) override;
  void document(const std::string& path) override;
  int choose(const std::string& caption, const std::vector<std::string>& items, int current) override;
  int choose_row(const std::string& caption, const Table& table, int current) override;
  // Timers do not run by themselves: a test moves them with tick().
  std::unique_ptr<Ticker> start_timer(int interval_ms, std::function<void()> on_tick) override;
  bool can_ask_again() const override { return !form_answers.empty(); }
  std::pair<int, int> desktop_size() const override { return desktop; }

  // Fires every running timer n times, on the caller's thread.
  void tick(int n = 1);
  int running_timers() const;

  // Windows are written from timer threads too; tests read them after the command.
  std::mutex& mutex() const { return mutex_; }

 private:
  friend class ScriptedTicker;
  mutable std::mutex mutex_;
  std::map<int, std::function<void()>> timers_;
  int next_timer_ = 0;
};

}  // namespace hrdoc::ui
