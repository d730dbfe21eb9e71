#pragma once
// The renderer for the command line. On a terminal it asks; without one (batch, CI) nothing
// waits: boxes take the answers given on the command line or their default button, forms take
// the values given on the command line and press their first button.

#include <cstdio>
#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ui/ui.h"

namespace hrdoc::ui {

class TerminalUi : public Ui {
 public:
  struct Options {
    bool interactive = false;  // ask on the terminal
    bool quiet = false;        // show no information boxes and no progress
    int answer_all = 0;        // IDYES or IDNO for every question; 0 = none given
    // (text, answer): a question whose text or caption contains the text gets the answer.
    std::vector<std::pair<std::string, int>> answers;
    // Form entries given as NAME=VALUE.
    std::map<std::string, std::string> values;
    // Buttons to press, by name or caption, in order: each goes to the next form that has such
    // a button. A form with none due takes its unattended button (Form::unattended_button).
    std::deque<std::string> presses;
    // Draw report windows even when err is not a terminal (for tests of the drawing).
    bool force_live = false;
  };

  TerminalUi(Options options, std::FILE* out = stdout, std::FILE* err = stderr, std::FILE* in = stdin);

  int message_box(const std::string& caption, const std::string& text, unsigned flags) override;
  bool edit_form(Form& form) override;
  std::unique_ptr<Window> open_window(const std::string& caption) override;
  void document(const std::string& path) override;
  int choose(const std::string& caption, const std::vector<std::string>& items, int current) override;
  bool can_ask_again() const override { return options_.interactive; }

  const std::vector<std::string>& documents() const { return documents_; }
  // Entries given on the command line that no form had.
  std::vector<std::string> unused_values() const;
  // Buttons given on the command line that no form had.
  const std::deque<std::string>& unused_presses() const { return options_.presses; }

 private:
  std::string read_line();
  bool apply_values(Form& form);
  void print_form(const Form& form);
  void edit_field(Field& f, Form& form);
  bool press(Form& form, const Button& b);
  bool live() const;

  Options options_;
  std::FILE* out_;
  std::FILE* err_;
  std::FILE* in_;
  std::vector<std::string> documents_;
  std::map<std::string, bool> used_;
};

}  // namespace hrdoc::ui
