#include "ui/terminal_ui.h"

#include <unistd.h>

#include <chrono>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace hrdoc::ui {
namespace {

const char* kind_word(unsigned flags) {
  switch (flags & 0xF0) {
    case MB_ICONERROR: return "error";
    case MB_ICONQUESTION: return "question";
    case MB_ICONWARNING: return "warning";
    case MB_ICONINFORMATION: return "info";
    default: return "message";
  }
}

bool contains(const std::string& hay, const std::string& needle) {
  return !needle.empty() && hay.find(needle) != std::string::npos;
}

std::string trim(std::string s) {
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  return s.substr(i);
}

// Draws caption, status, bar and clock on one line of stderr; only on a terminal. The clock
// comes from a timer thread while the job sets the rest, hence the lock.
class TerminalWindow : public Window {
 public:
  TerminalWindow(std::FILE* err, std::string caption, bool live)
      : err_(err), caption_(std::move(caption)), live_(live), start_(std::chrono::steady_clock::now()) {}
  ~TerminalWindow() override { close(); }

  void set_caption(const std::string& text) override {
    std::lock_guard lock(mutex_);
    caption_ = text;
    draw(true);
  }
  void show() override {
    std::lock_guard lock(mutex_);
    shown_ = true;
    draw(true);
  }
  void set_status(const std::string& text) override {
    std::lock_guard lock(mutex_);
    status_ = text;
    shown_ = true;
    draw(false);
  }
  void set_progress(int position, int max) override {
    std::lock_guard lock(mutex_);
    position_ = position;
    max_ = max;
    shown_ = true;
    draw(false);
  }
  void set_clock(const std::string& text) override {
    std::lock_guard lock(mutex_);
    clock_ = text;
    draw(true);
  }
  void close() override {
    std::lock_guard lock(mutex_);
    if (live_ && drawn_) {
      std::fputs("\r\033[K", err_);
      std::fflush(err_);
    }
    live_ = false;
  }

 private:
  void draw(bool always) {
    if (!live_ || !shown_) return;
    auto now = std::chrono::steady_clock::now();
    // Redrawing costs a write; ten times a second is enough for the eye.
    if (!always && drawn_ && now - last_ < std::chrono::milliseconds(100) && position_ < max_) return;
    last_ = now;
    drawn_ = true;
    std::string clock = clock_;
    if (clock.empty()) {
      auto s = std::chrono::duration_cast<std::chrono::seconds>(now - start_).count();
      char buf[48];
      std::snprintf(buf, sizeof buf, "%02lld:%02lld", static_cast<long long>(s / 60), static_cast<long long>(s % 60));
      clock = buf;
    }
    constexpr int kWidth = 20;
    int filled = max_ > 0 ? static_cast<int>(static_cast<long long>(position_) * kWidth / max_) : 0;
    if (filled > kWidth) filled = kWidth;
    if (filled < 0) filled = 0;
    std::string bar(static_cast<size_t>(filled), '#');
    bar.append(static_cast<size_t>(kWidth - filled), '.');
    int percent = max_ > 0 ? static_cast<int>(static_cast<long long>(position_) * 100 / max_) : 0;
    std::fprintf(err_, "\r\033[K%s | %s [%s] %3d%% %s", caption_.c_str(), status_.c_str(), bar.c_str(), percent,
                 clock.c_str());
    std::fflush(err_);
  }

  std::mutex mutex_;
  std::FILE* err_;
  std::string caption_, status_, clock_;
  int position_ = 0, max_ = 0;
  bool live_;
  bool shown_ = false;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point start_, last_;
};

// Pads to a width in characters, not bytes: captions are mostly Cyrillic.
std::string pad(const std::string& s, size_t width) {
  size_t chars = 0;
  for (unsigned char c : s) chars += (c & 0xC0) != 0x80;
  return chars >= width ? s : s + std::string(width - chars, ' ');
}

const char* kind_hint(const Field& f) {
  switch (f.kind) {
    case FieldKind::date: return " (дд.мм.гггг)";
    case FieldKind::check: return " (да/нет)";
    case FieldKind::lookup: return f.lookup ? " (... = выбрать)" : "";
    default: return "";
  }
}

}  // namespace

TerminalUi::TerminalUi(Options options, std::FILE* out, std::FILE* err, std::FILE* in)
    : options_(std::move(options)), out_(out), err_(err), in_(in) {}

bool TerminalUi::live() const { return !options_.quiet && (options_.force_live || isatty(fileno(err_))); }

std::string TerminalUi::read_line() {
  char buf[1024];
  if (!std::fgets(buf, sizeof buf, in_)) return {};
  return trim(buf);
}

int TerminalUi::message_box(const std::string& caption, const std::string& text, unsigned flags) {
  count_box(flags);
  const unsigned buttons = flags & 0xF;
  const bool question = buttons == MB_YESNO || buttons == MB_YESNOCANCEL;
  if (!(options_.quiet && (flags & 0xF0) == MB_ICONINFORMATION)) {
    // A report window's live line may be on screen: start the box on a clean line.
    if (live()) std::fputs("\r\033[K", err_);
    std::fprintf(err_, "[%s] %s: %s\n", kind_word(flags), caption.c_str(), text.c_str());
  }

  int given = 0;
  for (auto& [needle, answer] : options_.answers)
    if (contains(text, needle) || contains(caption, needle)) given = answer;
  if (question) {
    if (!given) given = options_.answer_all;
    if (given == IDYES || given == IDNO) {
      std::fprintf(err_, "  -> %s\n", given == IDYES ? "yes" : "no");
      return given;
    }
  }
  if (!options_.interactive) return default_answer(flags);

  const int def = default_answer(flags);
  for (;;) {
    if (question)
      std::fprintf(err_, "  %s ", def == IDNO ? "[y/N]" : "[Y/n]");
    else if (buttons == MB_OKCANCEL)
      std::fputs("  Enter = OK, c = cancel: ", err_);
    else
      std::fputs("  Enter: ", err_);
    std::fflush(err_);
    if (std::feof(in_)) return def;
    std::string line = read_line();
    if (line.empty()) return def;
    char c = static_cast<char>(std::tolower(static_cast<unsigned char>(line[0])));
    if (question && (c == 'y' || line == "да" || line == "Да")) return IDYES;
    if (question && (c == 'n' || line == "нет" || line == "Нет")) return IDNO;
    if (buttons == MB_OKCANCEL && c == 'c') return IDCANCEL;
    if (buttons == MB_OKCANCEL && c == 'o') return IDOK;
    if (!question && buttons != MB_OKCANCEL) return IDOK;
  }
}

bool TerminalUi::apply_values(Form& form) {
  for (auto& f : form.fields) {
    auto it = options_.values.find(f.name);
    if (it == options_.values.end()) continue;
    used_[f.name] = true;
    std::string error = assign(f, it->second);
    if (!error.empty()) {
      message_box("Ошибка", "--set " + f.name + "=" + it->second + ": " + error, MB_ICONERROR);
      return false;
    }
  }
  return true;
}

std::vector<std::string> TerminalUi::unused_values() const {
  std::vector<std::string> names;
  for (auto& [name, value] : options_.values)
    if (!used_.count(name)) names.push_back(name);
  return names;
}

void TerminalUi::print_form(const Form& form) {
  std::fprintf(err_, "%s\n", form.caption.c_str());
  std::string group;
  for (size_t i = 0; i < form.fields.size(); ++i) {
    const Field& f = form.fields[i];
    if (f.group != group) {
      group = f.group;
      if (!group.empty()) std::fprintf(err_, " %s\n", group.c_str());
    }
    if (f.kind == FieldKind::checklist) {
      std::fprintf(err_, "  %zu) %s:\n", i + 1, f.caption.c_str());
      if (!f.columns.empty()) std::fprintf(err_, "           %s\n", Table{f.columns, f.cells}.lines()[0].c_str());
      for (size_t k = 0; k < f.items.size(); ++k)
        std::fprintf(err_, "       [%c] %s\n", k < f.checked.size() && f.checked[k] ? 'x' : ' ', f.items[k].c_str());
      continue;
    }
    std::fprintf(err_, "  %zu) %s %s%s\n", i + 1, pad(f.caption, 30).c_str(), shown_value(f).c_str(),
                 f.required && f.value.empty() ? "  (выберите)" : "");
  }
}

void TerminalUi::edit_field(Field& f, Form& form) {
  for (;;) {
    if (f.kind == FieldKind::radio || f.kind == FieldKind::pick)
      for (size_t i = 0; i < f.items.size(); ++i) std::fprintf(err_, "    %zu) %s\n", i, f.items[i].c_str());
    if (f.kind == FieldKind::checklist) {
      if (!f.columns.empty()) std::fprintf(err_, "            %s\n", Table{f.columns, f.cells}.lines()[0].c_str());
      for (size_t i = 0; i < f.items.size(); ++i)
        std::fprintf(err_, "    [%c] %3zu) %s\n", i < f.checked.size() && f.checked[i] ? 'x' : ' ', i,
                     f.items[i].c_str());
      std::fprintf(err_, "  %s: numbers toggle, + = отметить все, - = снять все, Enter = done: ", f.caption.c_str());
      std::fflush(err_);
      std::string line = read_line();
      if (line.empty() || std::feof(in_)) return;
      if (line == "+" || line == "-") {
        f.check_all(line == "+");
        continue;
      }
      char* end = nullptr;
      long i = std::strtol(line.c_str(), &end, 10);
      if (end && *end == 0 && i >= 0 && i < static_cast<long>(f.items.size())) {
        f.checked.resize(f.items.size());
        f.checked[static_cast<size_t>(i)] = !f.checked[static_cast<size_t>(i)];
      } else {
        std::fprintf(err_, "  ? %s\n", line.c_str());
      }
      continue;
    }
    std::fprintf(err_, "  %s%s [%s]: ", f.caption.c_str(), kind_hint(f), shown_value(f).c_str());
    std::fflush(err_);
    std::string line = read_line();
    if (f.kind == FieldKind::memo && !line.empty()) {
      // Further lines until an empty one.
      for (std::string more; !std::feof(in_) && !(more = read_line()).empty();) line += "\n" + more;
    }
    // Enter keeps the entry and moves to the next one.
    if (line.empty()) return;
    if (line == "..." && f.kind == FieldKind::lookup && f.lookup) {
      f.lookup(f, form);
      return;
    }
    std::string error = assign(f, line);
    if (error.empty()) return;
    std::fprintf(err_, "  %s\n", error.c_str());
    if (std::feof(in_)) return;
  }
}

bool TerminalUi::press(Form& form, const Button& b) {
  form.pressed = b.name;
  if (b.cancel) return false;
  auto missing = form.missing();
  if (missing.empty()) return true;
  std::string text;
  for (const Field* f : missing) text += (text.empty() ? "" : "; ") + f->caption + " (--set " + f->name + "=...)";
  message_box("Ошибка", "Не заполнено: " + text, MB_ICONERROR);
  return false;
}

bool TerminalUi::edit_form(Form& form) {
  if (!apply_values(form)) return false;
  if (!options_.presses.empty()) {
    if (const Button* b = form.button(options_.presses.front())) {
      options_.presses.pop_front();
      std::fprintf(err_, "%s: %s\n", form.caption.c_str(), b->caption.c_str());
      return press(form, *b);
    }
  }
  const auto buttons = form.effective_buttons();
  if (!options_.interactive) {
    const Button* b = form.unattended_button();
    if (!b) return false;
    return press(form, *b);
  }
  size_t def = 0;
  while (def < buttons.size() && buttons[def].name != form.default_button().name) ++def;
  for (;;) {
    print_form(form);
    std::string keys = "Enter = " + buttons[def].caption;
    for (size_t i = 0; i < buttons.size(); ++i)
      if (i != def)
        keys += ", " + (buttons[i].cancel ? std::string("q") : "b" + std::to_string(i + 1)) + " = " + buttons[i].caption;
    keys += ", e = edit all, N = edit entry N";
    for (const auto& a : form.actions) keys += std::string(", ") + a.key + " = " + a.caption;
    std::fprintf(err_, "%s: ", keys.c_str());
    std::fflush(err_);
    if (std::feof(in_)) return false;
    std::string line = read_line();
    size_t chosen = def;
    bool pressed = line.empty();
    if (!pressed && line[0] == 'b' && line.size() > 1) {
      long n = std::strtol(line.c_str() + 1, nullptr, 10);
      if (n >= 1 && n <= static_cast<long>(buttons.size())) chosen = static_cast<size_t>(n - 1), pressed = true;
    }
    if (!pressed && (line == "q" || line == "Q")) {
      for (size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i].cancel) chosen = i, pressed = true;
      if (!pressed) return false;
    }
    if (pressed) {
      form.pressed = buttons[chosen].name;
      if (buttons[chosen].cancel) return false;
      auto missing = form.missing();
      if (missing.empty()) return true;
      for (const Field* f : missing) std::fprintf(err_, "  Не заполнено: %s\n", f->caption.c_str());
      continue;
    }
    bool done = false;
    for (auto& a : form.actions)
      if (line.size() == 1 && line[0] == a.key && a.run) a.run(), done = true;
    if (done) continue;
    if (line == "e" || line == "E") {
      for (auto& f : form.fields) edit_field(f, form);
      continue;
    }
    char* end = nullptr;
    long n = std::strtol(line.c_str(), &end, 10);
    if (end && *end == 0 && n >= 1 && n <= static_cast<long>(form.fields.size()))
      edit_field(form.fields[static_cast<size_t>(n - 1)], form);
  }
}

int TerminalUi::choose(const std::string& caption, const std::vector<std::string>& items, int current) {
  if (!options_.interactive) return -1;
  std::fprintf(err_, "%s\n", caption.c_str());
  for (size_t i = 0; i < items.size(); ++i)
    std::fprintf(err_, "  %c %zu) %s\n", static_cast<int>(i) == current ? '*' : ' ', i + 1, items[i].c_str());
  std::fputs("Number, Enter = nothing: ", err_);
  std::fflush(err_);
  std::string line = read_line();
  char* end = nullptr;
  long n = std::strtol(line.c_str(), &end, 10);
  if (line.empty() || !end || *end || n < 1 || n > static_cast<long>(items.size())) return -1;
  return static_cast<int>(n - 1);
}

std::unique_ptr<Window> TerminalUi::open_window(const std::string& caption) {
  return std::make_unique<TerminalWindow>(err_, caption, live());
}

void TerminalUi::document(const std::string& path) {
  documents_.push_back(path);
  std::fprintf(out_, "%s\n", path.c_str());
  std::fflush(out_);
}

}  // namespace hrdoc::ui
