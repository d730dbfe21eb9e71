#include "ui/ui.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "text/strings.h"
#include "text/date.h"

namespace hrdoc::ui {
namespace {

using text::trim;

std::string lower(std::string s) {
  // ASCII and the Cyrillic letters of UTF-8 (А-Я, Ё): enough to match item texts loosely.
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      out += static_cast<char>(std::tolower(c));
    } else if (c == 0xD0 && i + 1 < s.size()) {
      unsigned char d = static_cast<unsigned char>(s[i + 1]);
      if (d >= 0x90 && d <= 0x9F) {  // А..П -> а..п
        out += '\xD0', out += static_cast<char>(d + 0x20);
      } else if (d >= 0xA0 && d <= 0xAF) {  // Р..Я -> р..я
        out += '\xD1', out += static_cast<char>(d - 0x20);
      } else if (d == 0x81) {  // Ё -> ё
        out += '\xD1', out += '\x91';
      } else {
        out += static_cast<char>(c), out += static_cast<char>(d);
      }
      ++i;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

// A whole decimal number, nothing else.
bool parse_int(const std::string& s, long long& out) {
  if (s.empty()) return false;
  char* end = nullptr;
  errno = 0;
  out = std::strtoll(s.c_str(), &end, 10);
  return errno == 0 && end && *end == 0;
}

// An item by its index or its text (case aside); -1 when none matches.
int find_item(const Field& f, const std::string& given) {
  long long n = 0;
  if (parse_int(given, n)) return n >= 0 && n < static_cast<long long>(f.items.size()) ? static_cast<int>(n) : -1;
  for (size_t i = 0; i < f.items.size(); ++i)
    if (lower(f.items[i]) == lower(given)) return static_cast<int>(i);
  return -1;
}

std::string items_hint(const Field& f) {
  std::string s;
  for (size_t i = 0; i < f.items.size(); ++i)
    s += (i ? ", " : "") + std::to_string(i) + " = " + f.items[i];
  return s;
}

// Runs the callback on a thread of its own at a fixed rate until destroyed.
class ThreadTicker : public Ticker {
 public:
  ThreadTicker(int interval_ms, std::function<void()> on_tick)
      : interval_(std::chrono::milliseconds(interval_ms > 0 ? interval_ms : 1)),
        on_tick_(std::move(on_tick)),
        thread_([this] { run(); }) {}
  ~ThreadTicker() override {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    cv_.notify_all();
    thread_.join();
  }

 private:
  void run() {
    auto next = std::chrono::steady_clock::now() + interval_;
    std::unique_lock lock(mutex_);
    for (;;) {
      if (cv_.wait_until(lock, next, [this] { return stop_; })) return;
      next += interval_;
      lock.unlock();
      on_tick_();
      lock.lock();
    }
  }

  std::chrono::milliseconds interval_;
  std::function<void()> on_tick_;
  std::mutex mutex_;
  std::condition_variable cv_;
  bool stop_ = false;
  std::thread thread_;  // last: starts when everything above is ready
};

}  // namespace

bool is_error_box(unsigned flags) { return (flags & 0xF0) == MB_ICONERROR; }

int default_answer(unsigned flags) {
  const bool second = (flags & 0xF00) == MB_DEFBUTTON2;
  switch (flags & 0xF) {
    case MB_OKCANCEL: return second ? IDCANCEL : IDOK;
    case MB_YESNO: return second ? IDNO : IDYES;
    case MB_YESNOCANCEL: return second ? IDNO : IDYES;
    default: return IDOK;
  }
}

int Field::index() const {
  long long n = 0;
  if (!parse_int(value, n) || n < 0 || n >= static_cast<long long>(items.size())) return -1;
  return static_cast<int>(n);
}

std::vector<size_t> Field::ticked() const {
  std::vector<size_t> out;
  for (size_t i = 0; i < checked.size() && i < items.size(); ++i)
    if (checked[i]) out.push_back(i);
  return out;
}

void Field::check_all(bool on) { checked.assign(items.size(), on); }

std::vector<long long> Field::ticked_keys() const {
  std::vector<long long> out;
  for (size_t i : ticked())
    if (i < keys.size()) out.push_back(keys[i]);
  return out;
}

void Field::tick_keys(const std::vector<long long>& wanted) {
  checked.assign(items.size(), false);
  for (size_t i = 0; i < items.size() && i < keys.size(); ++i)
    checked[i] = std::find(wanted.begin(), wanted.end(), keys[i]) != wanted.end();
}

std::vector<std::string> Table::lines() const {
  // Widths in characters, not bytes: the cells are mostly Cyrillic.
  auto chars = [](const std::string& s) {
    size_t n = 0;
    for (unsigned char c : s) n += (c & 0xC0) != 0x80;
    return n;
  };
  std::vector<size_t> width(columns.size(), 0);
  for (size_t c = 0; c < columns.size(); ++c) width[c] = chars(columns[c]);
  for (const auto& row : rows)
    for (size_t c = 0; c < row.size() && c < width.size(); ++c) width[c] = std::max(width[c], chars(row[c]));
  auto line = [&](const std::vector<std::string>& cells) {
    std::string s;
    for (size_t c = 0; c < cells.size() && c < width.size(); ++c) {
      if (c) s += " | ";
      const size_t pad = width[c] - chars(cells[c]);
      if (c < right.size() && right[c]) {
        s.append(pad, ' ');
        s += cells[c];
        continue;
      }
      s += cells[c];
      if (c + 1 < cells.size()) s.append(pad, ' ');
    }
    return s;
  };
  std::vector<std::string> out{line(columns)};
  for (const auto& row : rows) out.push_back(line(row));
  return out;
}

Field date_field(std::string name, std::string caption, std::string value) {
  Field f;
  f.name = std::move(name), f.kind = FieldKind::date, f.caption = std::move(caption), f.value = std::move(value);
  return f;
}

Field text_field(std::string name, std::string caption, std::string value) {
  Field f;
  f.name = std::move(name), f.kind = FieldKind::text, f.caption = std::move(caption), f.value = std::move(value);
  return f;
}

Field memo_field(std::string name, std::string caption, std::string value) {
  Field f = text_field(std::move(name), std::move(caption), std::move(value));
  f.kind = FieldKind::memo;
  return f;
}

Field spin_field(std::string name, std::string caption, int min, int max, int value) {
  Field f = text_field(std::move(name), std::move(caption), std::to_string(value));
  f.kind = FieldKind::spin, f.min = min, f.max = max;
  return f;
}

Field radio_field(std::string name, std::string caption, std::vector<std::string> items, int index) {
  Field f = text_field(std::move(name), std::move(caption), std::to_string(index));
  f.kind = FieldKind::radio, f.items = std::move(items);
  return f;
}

Field pick_field(std::string name, std::string caption, std::vector<std::string> items) {
  Field f = text_field(std::move(name), std::move(caption));
  f.kind = FieldKind::pick, f.items = std::move(items), f.required = true;
  return f;
}

Field lookup_field(std::string name, std::string caption, LookupFn lookup, std::string value) {
  Field f = text_field(std::move(name), std::move(caption), std::move(value));
  f.kind = FieldKind::lookup, f.lookup = std::move(lookup);
  return f;
}

Field checklist_field(std::string name, std::string caption, std::vector<std::string> items,
                      std::vector<long long> keys, bool ticked) {
  Field f = text_field(std::move(name), std::move(caption));
  f.kind = FieldKind::checklist, f.items = std::move(items), f.keys = std::move(keys);
  f.check_all(ticked);
  return f;
}

Field checklist_field(std::string name, std::string caption, Table rows, std::vector<long long> keys, bool ticked) {
  std::vector<std::string> lines = rows.lines();
  lines.erase(lines.begin());
  Field f = checklist_field(std::move(name), std::move(caption), std::move(lines), std::move(keys), ticked);
  f.columns = std::move(rows.columns);
  f.cells = std::move(rows.rows);
  return f;
}

Field check_field(std::string name, std::string caption, bool on) {
  Field f = text_field(std::move(name), std::move(caption), on ? "1" : "0");
  f.kind = FieldKind::check;
  return f;
}

std::string assign(Field& f, const std::string& raw) {
  const std::string given = f.kind == FieldKind::memo || f.kind == FieldKind::text ? raw : trim(raw);
  switch (f.kind) {
    case FieldKind::text:
    case FieldKind::memo:
    case FieldKind::lookup:
      f.value = given;
      return {};
    case FieldKind::date: {
      if (given.empty()) {
        f.value.clear();
        return {};
      }
      auto d = text::parse_date(given);
      if (!d) return "\"" + given + "\" is not a date (dd.mm.yyyy)";
      f.value = text::date_text(*d);
      return {};
    }
    case FieldKind::spin: {
      long long n = 0;
      if (!parse_int(given, n)) return "\"" + given + "\" is not a whole number";
      if (n < f.min || n > f.max)
        return std::to_string(n) + " is outside " + std::to_string(f.min) + ".." + std::to_string(f.max);
      f.value = std::to_string(n);
      return {};
    }
    case FieldKind::radio:
    case FieldKind::pick: {
      if (given.empty() && f.kind == FieldKind::pick) {
        f.value.clear();
        return {};
      }
      int i = find_item(f, given);
      if (i < 0) return "\"" + given + "\" is not one of: " + items_hint(f);
      f.value = std::to_string(i);
      return {};
    }
    case FieldKind::check: {
      std::string v = lower(given);
      if (v == "1" || v == "yes" || v == "y" || v == "да" || v == "true") f.value = "1";
      else if (v == "0" || v == "no" || v == "n" || v == "нет" || v == "false") f.value = "0";
      else return "\"" + given + "\" is neither yes nor no";
      return {};
    }
    case FieldKind::checklist: {
      std::string v = lower(given);
      if (v == "all" || v == "+") {
        f.check_all(true);
        return {};
      }
      if (v == "none" || v == "-" || v.empty()) {
        f.check_all(false);
        return {};
      }
      std::vector<bool> ticks(f.items.size(), false);
      size_t start = 0;
      while (start <= given.size()) {
        size_t comma = given.find(',', start);
        std::string part = trim(given.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (!part.empty()) {
          int i = find_item(f, part);
          if (i < 0) return "\"" + part + "\" is not one of: " + items_hint(f);
          ticks[static_cast<size_t>(i)] = true;
        }
        if (comma == std::string::npos) break;
        start = comma + 1;
      }
      f.checked = ticks;
      return {};
    }
  }
  return {};
}

std::string shown_value(const Field& f) {
  switch (f.kind) {
    case FieldKind::radio:
    case FieldKind::pick: {
      int i = f.index();
      return i < 0 ? std::string() : f.items[static_cast<size_t>(i)];
    }
    case FieldKind::check: return f.value == "1" ? "да" : "нет";
    case FieldKind::checklist: {
      std::string s;
      for (size_t i : f.ticked()) s += (s.empty() ? "" : ", ") + f.items[i];
      return s;
    }
    default: return f.value;
  }
}

Field* Form::find(const std::string& field_name) {
  for (auto& f : fields)
    if (f.name == field_name) return &f;
  return nullptr;
}

const Field* Form::find(const std::string& field_name) const {
  return const_cast<Form*>(this)->find(field_name);
}

namespace {
const std::vector<Button> kDefaultButtons{{"ok", "OK", false}, {"cancel", "Отмена", true}};
}  // namespace

std::vector<Button> Form::effective_buttons() const { return buttons.empty() ? kDefaultButtons : buttons; }

std::vector<const Field*> Form::missing() const {
  std::vector<const Field*> out;
  for (const auto& f : fields) {
    bool empty = f.kind == FieldKind::checklist ? f.ticked().empty() : f.value.empty();
    if (f.required && empty) out.push_back(&f);
  }
  return out;
}

const Button* Form::button(const std::string& name_or_caption) const {
  auto plain = [](std::string s) {
    s.erase(std::remove(s.begin(), s.end(), '&'), s.end());
    return lower(trim(s));
  };
  for (const auto& b : buttons.empty() ? kDefaultButtons : buttons)
    if (b.name == name_or_caption || plain(b.caption) == plain(name_or_caption)) return &b;
  return nullptr;
}

const Button& Form::default_button() const {
  const std::vector<Button>& list = buttons.empty() ? kDefaultButtons : buttons;
  for (const auto& b : list)
    if (b.is_default) return b;
  return list.front();
}

const Button* Form::unattended_button() const {
  if (pressed.empty()) return &default_button();
  for (const auto& b : buttons.empty() ? kDefaultButtons : buttons)
    if (b.cancel) return &b;
  return nullptr;
}

int Ui::choose(const std::string&, const std::vector<std::string>&, int) { return -1; }

int Ui::choose_row(const std::string& caption, const Table& table, int current) {
  std::vector<std::string> lines = table.lines();
  std::string header = lines.front();
  lines.erase(lines.begin());
  return choose(caption + "\n" + header, lines, current);
}

int Tree::find(long long key) const {
  for (size_t i = 0; i < nodes.size(); ++i)
    if (nodes[i].key == key) return static_cast<int>(i);
  return -1;
}

std::vector<std::string> Tree::lines() const {
  std::vector<int> depth(nodes.size(), 0);
  std::vector<std::string> out;
  for (size_t i = 0; i < nodes.size(); ++i) {
    const int p = nodes[i].parent;
    if (p >= 0 && static_cast<size_t>(p) < i) depth[i] = depth[static_cast<size_t>(p)] + 1;
    out.push_back(std::string(static_cast<size_t>(depth[i]) * 2, ' ') + nodes[i].name);
  }
  return out;
}

int Ui::choose_node(const std::string& caption, const Tree& tree, int current) {
  return choose(caption, tree.lines(), current);
}

bool Ui::tick_nodes(const std::string& caption, const Tree& tree, std::vector<bool>& ticks) {
  Form form;
  form.name = "tree";
  form.caption = caption;
  std::vector<long long> keys;
  for (const auto& n : tree.nodes) keys.push_back(n.key);
  form.fields.push_back(checklist_field("nodes", caption, tree.lines(), keys));
  form.fields[0].checked = ticks;
  form.fields[0].checked.resize(tree.nodes.size());
  if (!edit_form(form)) return false;
  ticks = form.fields[0].checked;
  return true;
}

std::unique_ptr<Ticker> Ui::start_timer(int interval_ms, std::function<void()> on_tick) {
  return std::make_unique<ThreadTicker>(interval_ms, std::move(on_tick));
}

}  // namespace hrdoc::ui
