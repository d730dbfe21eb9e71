#include "reports/statistics/full_name.h"

#include "text/strings.h"

namespace hrdoc {
namespace {

// The text before the first space of s (empty when there is none); s keeps what follows it.
std::string CutWord(std::string& s) {
  const size_t space = s.find(' ');
  if (space == std::string::npos) return {};
  std::string head = s.substr(0, space);
  s.erase(0, space + 1);
  return head;
}

}  // namespace

FullName SplitName(const std::string& fname) {
  std::string s = text::trim(fname);
  FullName n;
  n.surname = CutWord(s);
  n.name = CutWord(s);
  n.patronymic = s;
  if (n.name.empty()) {
    n.name = n.patronymic;
    n.patronymic.clear();
  }
  return n;
}

FullName SplitNameToPatronymic(const std::string& fname) {
  std::string s = fname;
  FullName n;
  n.surname = text::trim(CutWord(s));
  n.name = text::trim(CutWord(s));
  n.patronymic = text::trim(s);
  return n;
}

}  // namespace hrdoc
