// Fills one list template with the same lines through a spreadsheet server, as a report does:
// five fields and one copy of the detail part per line, then Finish.
//
//   office_bench_fill native|calc LINES WORKDIR
//
// Prints: BACKEND LINES open_s fill_s finish_s us_per_line
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "office/classexl.h"
#include "sheet/book.h"

namespace {

using Clock = std::chrono::steady_clock;
using hrdoc::office::Variant;

double seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

void write_template(const std::string& path) {
  hrdoc::sheet::Book b;
  auto& s = b.sheet(1);
  s.set_text(1, 1, "ppHB");
  s.set_text(1, 2, "$fpredpr");
  s.set_text(1, 7, "$END$");
  s.set_text(2, 1, "ppHE");
  const char* heads[] = {"№", "Таб. №", "ФИО", "Должность", "Оклад"};
  for (int c = 0; c < 5; ++c) s.set_text(2, c + 2, heads[c]);
  s.set_text(3, 1, "ppDB");
  const char* fields[] = {"$fnum", "$ftab", "$ffio", "$fdol", "$fokl"};
  for (int c = 0; c < 5; ++c) s.set_text(3, c + 2, fields[c]);
  s.set_borders({3, 2, 3, 6}, hrdoc::sheet::edge_all, 2);
  s.set_text(4, 1, "$END$");
  b.save(path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: office_bench_fill native|calc LINES WORKDIR\n");
    return 2;
  }
  const std::string backend = argv[1];
  const int lines = std::atoi(argv[2]);
  const std::string path = std::string(argv[3]) + "/LIST_" + backend + ".xlsx";
  write_template(path);

  auto t0 = Clock::now();
  hrdoc::office::TExcelShablon w;
  w.Open(path, true, false, backend == "calc" ? 1 : 0);
  if (!w.IsOpen()) return 1;
  auto t1 = Clock::now();
  w.SetField("ppH", "fpredpr", Variant(std::string("ООО «Ромашка»")));
  for (int i = 1; i <= lines; ++i) {
    w.SetField("ppD", "fnum", Variant(static_cast<int32_t>(i)));
    w.SetField("ppD", "ftab", Variant(static_cast<int32_t>(1000 + i)));
    w.SetField("ppD", "ffio", Variant("Сотрудник " + std::to_string(i)));
    w.SetField("ppD", "fdol", Variant(std::string("инженер")));
    w.SetField("ppD", "fokl", Variant(30000.0 + i));
    w.AddPart("ppD", 0);
  }
  auto t2 = Clock::now();
  w.Finish("ppH");
  auto t3 = Clock::now();
  std::printf("%s %d %.2f %.2f %.2f %.0f\n", backend.c_str(), lines, seconds(t0, t1), seconds(t1, t2), seconds(t2, t3),
              1e6 * seconds(t1, t2) / lines);
  return 0;
}
