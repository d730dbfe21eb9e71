// Benchmark: open a template, append 100 000 copies of a one-row part with 10 fields, save.
//   sheet_bench_engine template OUT.xlsx [sum]   writes the template; with "sum" the part row
//                                                also totals its numbers in a SUM formula
//   sheet_bench_engine run TEMPLATE OUT [LINES]  the timed run (LINES: 100 000 by default)
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "sheet/book.h"
#include "fields.h"

using namespace hrdoc::sheet;

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: sheet_bench_engine template OUT [sum] | run TEMPLATE OUT [LINES]\n";
    return 2;
  }
  try {
    if (std::strcmp(argv[1], "template") == 0) {
      Book b;
      Sheet& s = b.sheet(1);
      s.set_text(1, 1, "Список работников");
      s.merge(Range{1, 1, 1, BENCH_FIELDS});
      s.set_horizontal_alignment(Range{1, 1, 1, BENCH_FIELDS}, HAlign::center);
      for (int f = 1; f <= BENCH_FIELDS; ++f) {
        s.set_text(2, f, "Графа " + std::to_string(f));
        s.set_text(3, f, "$f" + std::to_string(f));
        s.set_column_width(f, 14);
      }
      s.set_borders(Range{2, 1, 3, BENCH_FIELDS}, edge_all, 2, 0);
      // A total under the part: every append moves it and stretches its range.
      s.set_text(4, 2, "Итого");
      s.set_formula(4, 1, "SUM(A2:A3)");
      if (argc > 3 && std::strcmp(argv[3], "sum") == 0) s.set_formula(3, BENCH_FIELDS + 1, "SUM(A3:J3)");
      b.save(argv[2]);
      return 0;
    }
    Book b(argv[2]);
    Sheet& s = b.sheet(1);
    int part = 3, out = 3;
    char buf[128];
    const int lines = argc > 4 ? std::atoi(argv[4]) : BENCH_LINES;
    for (int i = 0; i < lines; ++i) {
      for (int f = 0; f < BENCH_FIELDS; ++f) {
        if (f % 2 == 0) {
          s.set_number(part, f + 1, bench_number(i, f));
        } else {
          bench_text(i, f, buf, sizeof buf);
          s.set_text(part, f + 1, buf);
        }
      }
      s.copy_rows(part, part, out, true);
      ++out;
      ++part;  // the template part moved down below the copy
    }
    s.delete_rows(part, part);
    b.save(argv[3]);
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
  return 0;
}
