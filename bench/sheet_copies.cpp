// Benchmark: a book of one sheet per document, as the agreements make it: copy the template
// sheet behind the last N times, write a few cells into each copy, delete the template, save.
// Prints the cost of the first and of the last hundred copies, so growth shows at once.
//   sheet_copies TEMPLATE.xlsx OUT.xlsx [N]   (N: 10 000 by default)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "sheet/book.h"

using namespace hrdoc::sheet;
using Clock = std::chrono::steady_clock;

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: sheet_copies TEMPLATE.xlsx OUT.xlsx [N]\n");
    return 2;
  }
  const int n = argc > 3 ? std::atoi(argv[3]) : 10000;
  try {
    const auto start = Clock::now();
    Book b(argv[1]);
    double first = 0, last = 0;
    auto block = Clock::now();
    for (int i = 1; i <= n; ++i) {
      Sheet& s = b.copy_sheet(1, b.sheet_count(), true);
      b.set_active_sheet(b.sheet_count());
      for (int c = 0; c < 20; ++c) s.set_text(3 + c, 1 + c, "Текст соглашения " + std::to_string(i));
      if (i % 100 == 0 || i == n) {
        const double us = std::chrono::duration<double, std::micro>(Clock::now() - block).count() / 100;
        if (i == 100) first = us;
        last = us;
        block = Clock::now();
      }
    }
    b.delete_sheet(1);
    const auto filled = Clock::now();
    b.save(argv[2]);
    const auto end = Clock::now();
    std::printf("sheets %d  first 100: %.1f us/copy  last 100: %.1f us/copy  fill %.2f s  save %.2f s  total %.2f s\n", n,
                first, last, std::chrono::duration<double>(filled - start).count(),
                std::chrono::duration<double>(end - filled).count(), std::chrono::duration<double>(end - start).count());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
