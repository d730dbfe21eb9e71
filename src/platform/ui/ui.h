#pragma once
// The user-interface service the host hands to the library: message boxes, report windows,
// forms declared as data, selection lists, timers, and the announcement of finished documents.
// All text is UTF-8.

#include <functional>
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

// pick: one item of a list that the user must choose (no default); the others as their names say.
enum class FieldKind { date, text, memo, spin, radio, lookup, checklist, check, pick };

struct Field;
struct Form;
// The "..." of a look-up: fills the field, and may fill other entries of the same form (a code
// entry beside a name entry, say); false when the user chose nothing, the form then unchanged.
using LookupFn = std::function<bool(Field& self, Form& form)>;

// Rows shown in columns: a selection list over a dictionary, a check list of employees.
struct Table {
  std::vector<std::string> columns;             // captions
  std::vector<std::vector<std::string>> rows;   // one cell per column
  std::vector<bool> right = {};                 // columns aligned right (none when empty)
  // The rows as text lines padded into columns, the header line first: for renderers that only
  // show lines.
  std::vector<std::string> lines() const;
};

// One entry of a form. value holds the entry's text: a date as dd.mm.yyyy (empty: no date), a
// number in decimal, the index of a radio or pick item (empty: none chosen), "1"/"0" for a
// check box. A check list keeps its items, their ticks and a key per item; with columns it
// shows its rows in columns (items then hold each row's cells joined, for matching and plain
// renderers). Every renderer offers "tick all" and "untick all" on a check list.
struct Field {
  std::string name;
  FieldKind kind = FieldKind::text;
  std::string caption;
  std::string value;
  std::vector<std::string> items;
  std::vector<bool> checked;
  int min = 0, max = 0;
  bool required = false;           // the form cannot be confirmed while value is empty
  LookupFn lookup;                 // look-ups only
  std::vector<long long> keys;     // check lists: a key kept with each item
  std::vector<std::string> columns;             // check lists in columns: the captions
  std::vector<std::vector<std::string>> cells;  // ... and each row's cells
  std::string group;               // caption of the group box the field sits in

  // Index of the chosen radio or pick item, -1 when none.
  int index() const;
  // Ticked items of a check list, in list order.
  std::vector<size_t> ticked() const;
  void check_all(bool on);
  // Check lists: the keys of the ticked rows, and ticking by key (rows whose key is not given
  // are unticked), so that ticks survive the rows being read again.
  std::vector<long long> ticked_keys() const;
  void tick_keys(const std::vector<long long>& keys);
};

// Field declarations: a report's form is a list of these.
Field date_field(std::string name, std::string caption, std::string value = {});
Field text_field(std::string name, std::string caption, std::string value = {});
Field memo_field(std::string name, std::string caption, std::string value = {});
Field spin_field(std::string name, std::string caption, int min, int max, int value);
Field radio_field(std::string name, std::string caption, std::vector<std::string> items, int index = 0);
Field pick_field(std::string name, std::string caption, std::vector<std::string> items);
Field lookup_field(std::string name, std::string caption, LookupFn lookup, std::string value = {});
Field checklist_field(std::string name, std::string caption, std::vector<std::string> items,
                      std::vector<long long> keys = {}, bool ticked = false);
// A check list in columns: one row of rows.rows per item, keyed by keys.
Field checklist_field(std::string name, std::string caption, Table rows, std::vector<long long> keys,
                      bool ticked = false);
Field check_field(std::string name, std::string caption, bool on = false);

// Sets a field from what a user typed or a command line gave: dates in dd.mm.yyyy or
// yyyy-mm-dd, spin numbers within their range, radio and pick items by index or by text,
// check lists as "all", "none" or item indexes/texts separated by commas, check boxes as
// 1/0/yes/no. Returns an error text (empty on success); the field is unchanged on error.
std::string assign(Field& field, const std::string& given);
// The value as a user reads it: the item text of radio and pick fields, the ticked items of a
// check list.
std::string shown_value(const Field& field);

// A button of a form. The default one (marked, else the first) is what Enter presses and what a
// run with nobody to ask presses first. A cancel button closes the form (edit_form returns
// false). A button that stays (a print button of a modal report window, say) runs its work
// and brings the same form back, until a cancel button is pressed.
struct Button {
  std::string name, caption;
  bool cancel = false;
  bool stays = false;
  bool is_default = false;
};

// Something the user can do in a form besides editing it (a pop-up menu, a zoom): a key on the
// terminal, a caption, and what it does.
struct FormAction {
  char key = 0;
  std::string caption;
  std::function<void()> run;
  std::string shortcut = {};  // for renderers with a keyboard of their own, e.g. "Ctrl+Shift+F12"
};

// Where a window stands and its zoom in percent, for renderers with real windows. A window that
// remembers its geometry sets it before the form is shown and reads back what the user left.
struct Placement {
  bool set = false;
  int left = 0, top = 0, width = 0, height = 0;
  int scale = 100;
  bool centred = false;  // no position remembered: the renderer centres the window
};

struct Form {
  std::string name;
  std::string caption;
  std::vector<Field> fields;
  std::vector<Button> buttons;  // empty: "OK" and "Отмена"
  std::vector<FormAction> actions;
  std::string pressed;  // set by edit_form: the name of the button pressed; empty before the first
  Placement placement = {};

  Field* find(const std::string& field_name);
  const Field* find(const std::string& field_name) const;
  // The buttons, with the two defaults when none are declared.
  std::vector<Button> effective_buttons() const;
  // Fields marked required that have no value.
  std::vector<const Field*> missing() const;
  // The button named or captioned so ("&" marks aside); null when none.
  const Button* button(const std::string& name_or_caption) const;
  // The default button: the one marked, else the first.
  const Button& default_button() const;
  // What nobody at the keyboard presses: the default button the first time the form is shown,
  // a cancel button when it comes back (after a button that stays); null when there is none.
  const Button* unattended_button() const;
};

// A report window: caption, status line, progress bar and clock. The clock may be set from a
// timer thread while the job sets the rest: implementations are safe for that.
// A tree of named nodes (the departments of an enterprise), each parent before its children.
struct Tree {
  struct Node {
    long long key = 0;
    int parent = -1;  // index of the parent node; -1 for a top node
    std::string name;
  };
  std::vector<Node> nodes;
  // The index of the node with the key, -1 when none.
  int find(long long key) const;
  // Each node's name indented by its depth: for renderers that only show lines.
  std::vector<std::string> lines() const;
};

class Window {
 public:
  virtual ~Window() = default;
  virtual void set_caption(const std::string& text) = 0;
  virtual void show() = 0;
  virtual void set_status(const std::string& text) = 0;
  virtual void set_progress(int position, int max) = 0;
  virtual void set_clock(const std::string& text) = 0;
  virtual void close() = 0;
  // A renderer with a stop button calls `stop` when it is pressed (from its own thread).
  virtual void on_stop(std::function<void()> stop) { (void)stop; }
};

// A running timer; stops (and waits for a tick in progress) when destroyed.
class Ticker {
 public:
  virtual ~Ticker() = default;
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
  // A selection list (a pop-up menu): the index chosen, -1 when nothing was chosen.
  virtual int choose(const std::string& caption, const std::vector<std::string>& items, int current);
  // A selection list of rows in columns (a dictionary look-up), current marked (-1: none): the
  // row chosen, -1 when none. The default shows table.lines() through choose().
  virtual int choose_row(const std::string& caption, const Table& table, int current);
  // Picks one node of a tree, current marked (-1: none): the node chosen, -1 when none. The
  // default shows tree.lines() through choose().
  virtual int choose_node(const std::string& caption, const Tree& tree, int current);
  // Lets the user tick nodes of a tree (one tick per node in ticks); false when cancelled, ticks
  // then unchanged. The default shows a check list of tree.lines() through edit_form().
  virtual bool tick_nodes(const std::string& caption, const Tree& tree, std::vector<bool>& ticks);
  // Calls on_tick every interval_ms until the ticker is destroyed. The default runs a thread
  // of its own, so ticks arrive while a job works; on_tick runs on that thread.
  virtual std::unique_ptr<Ticker> start_timer(int interval_ms, std::function<void()> on_tick);
  // Whether asking the user again can bring a different answer (a person at a terminal, a test
  // with answers left); when not, a form whose entries fail their checks is given up.
  virtual bool can_ask_again() const { return false; }
  // The desktop size for centring windows; {0, 0} when the renderer has no real geometry.
  virtual std::pair<int, int> desktop_size() const { return {0, 0}; }
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
