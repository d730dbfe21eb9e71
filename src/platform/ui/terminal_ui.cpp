#include "ui/terminal_ui.h"

#include <unistd.h>

#include <chrono>
#include <cstring>

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

// Draws caption, status, bar and clock on one line of stderr; only on a terminal.
class TerminalWindow : public Window {
 public:
  TerminalWindow(std::FILE* err, std::string caption, bool live)
      : err_(err), caption_(std::move(caption)), live_(live), start_(std::chrono::steady_clock::now()) {}
  ~TerminalWindow() override { close(); }

  void set_status(const std::string& text) override {
    status_ = text;
    draw();
  }
  void set_progress(int position, int max) override {
    position_ = position;
    max_ = max;
    draw();
  }
  void set_clock(const std::string& text) override {
    clock_ = text;
    draw();
  }
  void close() override {
    if (live_ && drawn_) std::fputs("\r\033[K", err_);
    live_ = false;
  }

 private:
  void draw() {
    if (!live_) return;
    auto now = std::chrono::steady_clock::now();
    // Redrawing costs a write; once every 100 ms is enough for the eye.
    if (drawn_ && now - last_ < std::chrono::milliseconds(100) && position_ < max_) return;
    last_ = now;
    drawn_ = true;
    std::string clock = clock_;
    if (clock.empty()) {
      auto s = std::chrono::duration_cast<std::chrono::seconds>(now - start_).count();
      char buf[16];
      std::snprintf(buf, sizeof buf, "%02lld:%02lld", static_cast<long long>(s / 60), static_cast<long long>(s % 60));
      clock = buf;
    }
    constexpr int kWidth = 20;
    int filled = max_ > 0 ? static_cast<int>(static_cast<long long>(position_) * kWidth / max_) : 0;
    if (filled > kWidth) filled = kWidth;
    std::string bar(static_cast<size_t>(filled), '#');
    bar.append(static_cast<size_t>(kWidth - filled), '.');
    std::fprintf(err_, "\r\033[K%s | %s [%s] %s", caption_.c_str(), status_.c_str(), bar.c_str(), clock.c_str());
    std::fflush(err_);
  }

  std::FILE* err_;
  std::string caption_, status_, clock_;
  int position_ = 0, max_ = 0;
  bool live_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point start_, last_;
};

}  // namespace

TerminalUi::TerminalUi(Options options, std::FILE* out, std::FILE* err, std::FILE* in)
    : options_(std::move(options)), out_(out), err_(err), in_(in) {}

std::string TerminalUi::read_line() {
  char buf[1024];
  if (!std::fgets(buf, sizeof buf, in_)) return {};
  return trim(buf);
}

int TerminalUi::message_box(const std::string& caption, const std::string& text, unsigned flags) {
  count_box(flags);
  const unsigned buttons = flags & 0xF;
  const bool question = buttons == MB_YESNO || buttons == MB_YESNOCANCEL;
  if (!(options_.quiet && (flags & 0xF0) == MB_ICONINFORMATION))
    std::fprintf(err_, "[%s] %s: %s\n", kind_word(flags), caption.c_str(), text.c_str());

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

void TerminalUi::apply_values(Form& form) {
  for (auto& f : form.fields) {
    auto it = options_.values.find(f.name);
    if (it == options_.values.end()) continue;
    f.value = it->second;
    used_[f.name] = true;
  }
}

std::vector<std::string> TerminalUi::unused_values() const {
  std::vector<std::string> names;
  for (auto& [name, value] : options_.values)
    if (!used_.count(name)) names.push_back(name);
  return names;
}

bool TerminalUi::edit_form(Form& form) {
  apply_values(form);
  if (!options_.interactive) return true;
  for (;;) {
    std::fprintf(err_, "%s\n", form.caption.c_str());
    for (auto& f : form.fields) {
      std::string shown = f.value;
      if (f.kind == FieldKind::radio && !f.items.empty()) {
        int i = std::atoi(f.value.c_str());
        if (i >= 0 && i < static_cast<int>(f.items.size())) shown = f.items[static_cast<size_t>(i)];
      }
      std::fprintf(err_, "  %-28s %s\n", f.caption.c_str(), shown.c_str());
    }
    std::fputs("Enter = confirm, e = edit, q = cancel: ", err_);
    std::fflush(err_);
    if (std::feof(in_)) return true;
    std::string line = read_line();
    if (line.empty()) return true;
    if (line[0] == 'q' || line[0] == 'Q') return false;
    if (line[0] != 'e' && line[0] != 'E') continue;
    for (auto& f : form.fields) {
      if (f.kind == FieldKind::radio) {
        for (size_t i = 0; i < f.items.size(); ++i) std::fprintf(err_, "    %zu) %s\n", i, f.items[i].c_str());
      }
      std::fprintf(err_, "  %s [%s]: ", f.caption.c_str(), f.value.c_str());
      std::fflush(err_);
      std::string v = read_line();
      if (!v.empty()) f.value = v;
    }
  }
}

std::unique_ptr<Window> TerminalUi::open_window(const std::string& caption) {
  const bool live = !options_.quiet && isatty(fileno(err_));
  return std::make_unique<TerminalWindow>(err_, caption, live);
}

void TerminalUi::document(const std::string& path) {
  documents_.push_back(path);
  std::fprintf(out_, "%s\n", path.c_str());
  std::fflush(out_);
}

}  // namespace hrdoc::ui
