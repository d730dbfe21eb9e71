#include "ui/ini_file.h"

#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "text/strings.h"

namespace hrdoc::ui {
namespace {

using text::trim;

bool same(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

}  // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {
  // A FIFO or a device in place of the file would hang the read: such a file holds no settings.
  struct stat st;
  if (::stat(path_.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return;
  std::ifstream in(path_, std::ios::binary);
  std::string text, section;
  while (std::getline(in, text)) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    Line line{text, section, {}, {}};
    std::string t = trim(text);
    if (t.size() >= 2 && t.front() == '[' && t.back() == ']') {
      section = trim(t.substr(1, t.size() - 2));
      line.section = section;
    } else if (!t.empty() && t[0] != ';' && t[0] != '#') {
      size_t eq = t.find('=');
      if (eq != std::string::npos && eq > 0) {
        line.key = trim(t.substr(0, eq));
        line.value = trim(t.substr(eq + 1));
      }
    }
    lines_.push_back(std::move(line));
  }
}

IniFile::Line* IniFile::find(const std::string& section, const std::string& key) {
  for (auto& l : lines_)
    if (!l.key.empty() && same(l.section, section) && same(l.key, key)) return &l;
  return nullptr;
}

const IniFile::Line* IniFile::find(const std::string& section, const std::string& key) const {
  return const_cast<IniFile*>(this)->find(section, key);
}

bool IniFile::value_exists(const std::string& section, const std::string& key) const {
  return find(section, key) != nullptr;
}

std::optional<std::string> IniFile::read(const std::string& section, const std::string& key) const {
  if (const Line* l = find(section, key)) return l->value;
  return std::nullopt;
}

std::string IniFile::read_string(const std::string& section, const std::string& key, const std::string& def) const {
  return read(section, key).value_or(def);
}

int IniFile::read_int(const std::string& section, const std::string& key, int def) const {
  auto v = read(section, key);
  if (!v || v->empty()) return def;
  char* end = nullptr;
  errno = 0;
  long n = std::strtol(v->c_str(), &end, 10);
  if (errno || !end || *end || n < -2147483647L - 1 || n > 2147483647L) return def;
  return static_cast<int>(n);
}

void IniFile::write_string(const std::string& section, const std::string& key, const std::string& value) {
  if (Line* l = find(section, key)) {
    l->value = value;
    l->text = l->key + "=" + value;
    return;
  }
  // After the last line of the section, or a new section at the end.
  size_t at = lines_.size();
  bool found = false;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (!same(lines_[i].section, section)) continue;
    found = true;
    if (!trim(lines_[i].text).empty()) at = i + 1;
  }
  if (!found) {
    if (!lines_.empty() && !trim(lines_.back().text).empty()) lines_.push_back({"", lines_.back().section, {}, {}});
    lines_.push_back({"[" + section + "]", section, {}, {}});
    at = lines_.size();
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Line{key + "=" + value, section, key, value});
}

void IniFile::write_int(const std::string& section, const std::string& key, int value) {
  write_string(section, key, std::to_string(value));
}

void IniFile::save() const {
  std::string tmp = path_ + ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write settings file " + tmp + ": " + std::strerror(errno));
    for (const auto& l : lines_) out << l.text << "\r\n";
    out.flush();
    if (!out) throw std::runtime_error("cannot write settings file " + tmp + ": " + std::strerror(errno));
  }
  if (std::rename(tmp.c_str(), path_.c_str()) != 0) {
    int e = errno;
    std::remove(tmp.c_str());
    throw std::runtime_error("cannot write settings file " + path_ + ": " + std::strerror(e));
  }
}

}  // namespace hrdoc::ui
