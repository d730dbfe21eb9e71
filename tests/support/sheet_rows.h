#pragma once
// Writes texts into a sheet row by row, as the sheet looks: "" leaves a cell alone.

#include <initializer_list>

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

}  // namespace hrdoc::test
