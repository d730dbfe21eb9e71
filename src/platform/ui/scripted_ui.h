#pragma once
// The renderer for tests: answers queued by the test, everything shown recorded.

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/ui.h"

namespace hrdoc::ui {

class ScriptedUi : public Ui {
 public:
  struct Box {
    std::string caption, text;
    unsigned flags = 0;
  };
  struct WindowLog {
    std::string caption;
    std::vector<std::string> statuses;
    std::vector<std::string> clocks;
    int position = 0, max = 0;
    bool closed = false;
  };

  // Answers for the next boxes, in order; a box with no answer queued takes its default.
  std::deque<int> answers;
  // Values for the next forms: field name -> value; a form with nothing queued is confirmed as
  // it stands. A queued entry with cancel set cancels its form.
  struct FormAnswer {
    std::map<std::string, std::string> values;
    bool cancel = false;
  };
  std::deque<FormAnswer> form_answers;
  // Called for each form before the queued answer is applied (tests may edit the form freely).
  std::function<void(Form&)> on_form;

  std::vector<Box> boxes;
  std::vector<Form> forms;
  std::vector<WindowLog> windows;
  std::vector<std::string> documents;

  int message_box(const std::string& caption, const std::string& text, unsigned flags) override;
  bool edit_form(Form& form) override;
  std::unique_ptr<Window> open_window(const std::string& caption) override;
  void document(const std::string& path) override;
};

}  // namespace hrdoc::ui
