#pragma once
// Writes texts into a sheet row by row, as the sheet looks: "" leaves a cell alone; and checks
// that a finished sheet kept none of its template's marks.

#include <algorithm>
#include <initializer_list>
#include <string>

#include "sheet/book.h"

namespace hrdoc::test {

inline void put_rows(sheet::Sheet& s, std::initializer_list<std::initializer_list<const char*>> rows, int row = 1) {
  for (const auto& cells : rows) {
    int col = 1;
    for (const char* text : cells) {
      if (*text) s.set_text(row, col, text);
      ++col;
    }
    ++row;
  }
}

// True when no template mark or field name is left anywhere on the sheet.
inline bool no_marks(const sheet::Sheet& s) {
  for (int r = 1; r <= s.last_row(); ++r)
    for (int c = 1; c <= std::max(s.last_column(), 1); ++c) {
      const std::string v = s.text(r, c);
      if (v.find('$') != std::string::npos || v.rfind("pp", 0) == 0) return false;
    }
  return true;
}

}  // namespace hrdoc::test
