#pragma once
// The user-interface service the host hands to the library: message boxes, report windows,
// forms declared as data, and the announcement of finished documents. All text is UTF-8.

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace hrdoc::ui {

// Message-box flags and answers, with the values the suite's code passes and expects.
enum : unsigned {
  MB_OK = 0x0,
  MB_OKCANCEL = 0x1,
  MB_YESNOCANCEL = 0x3,
  MB_YESNO = 0x4,
  MB_ICONERROR = 0x10,
  MB_ICONQUESTION = 0x20,
  MB_ICONWARNING = 0x30,
  MB_ICONINFORMATION = 0x40,
  MB_DEFBUTTON2 = 0x100,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

bool is_error_box(unsigned flags);
// The answer a box gives when nobody is there to press a button: its default button.
int default_answer(unsigned flags);

enum class FieldKind { date, text, memo, spin, radio, lookup, checklist, check };

// One entry of a form. value holds the entry's text (a date as dd.mm.yyyy, a number in
// decimal, the index of a radio item, "1"/"0" for a check box); a check list keeps its
// items and their ticks.
struct Field {
  std::string name;
  FieldKind kind = FieldKind::text;
  std::string caption;
  std::string value;
  std::vector<std::string> items;
  std::vector<bool> checked;
  int min = 0, max = 0;
};

struct Form {
  std::string name;
  std::string caption;
  std::vector<Field> fields;

  Field* find(const std::string& field_name);
  const Field* find(const std::string& field_name) const;
};

// A report window: caption, status line, progress bar and clock.
class Window {
 public:
  virtual ~Window() = default;
  virtual void set_status(const std::string& text) = 0;
  virtual void set_progress(int position, int max) = 0;
  virtual void set_clock(const std::string& text) = 0;
  virtual void close() = 0;
};

class Ui {
 public:
  virtual ~Ui() = default;
  // Shows a box and returns the button pressed (IDOK, IDYES, ...).
  virtual int message_box(const std::string& caption, const std::string& text, unsigned flags) = 0;
  // Lets the user fill the form; false when the user cancelled it.
  virtual bool edit_form(Form& form) = 0;
  virtual std::unique_ptr<Window> open_window(const std::string& caption) = 0;
  // A finished document the user is to work with.
  virtual void document(const std::string& path) = 0;
  // How many error boxes were shown so far.
  int error_boxes() const { return error_boxes_; }

 protected:
  void count_box(unsigned flags) {
    if (is_error_box(flags)) ++error_boxes_;
  }

 private:
  int error_boxes_ = 0;
};

}  // namespace hrdoc::ui
