// Benchmark: assembles N one-page agreements into one document the way the agreement report
// does (fill the template copy, copy it, paste it after a page break at the end of the result,
// fill the pasted fields), then saves. Prints: word_paste N wall_s peak_MiB
//   word_paste_bench TEMPLATE.docx OUT_DIR N
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>

#include "office/classwrd.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: word_paste_bench TEMPLATE.docx OUT_DIR N\n";
    return 2;
  }
  const int n = std::stoi(argv[3]);
  auto t0 = std::chrono::steady_clock::now();
  try {
    hrdoc::office::TWordDoc w(std::string(argv[2]) + "/", [](const std::string& p) { std::cerr << p << "\n"; });
    w.OpenDocument(argv[1]);
    const std::string tpl = w.ActiveName();
    for (int i = 1; i <= n; ++i) {
      if (i == 1) {
        w.NewDocument(argv[1]);
      } else {
        w.Activate(tpl);
        w.SelectAll();
        w.Copy();
        w.Activate("Документ1");
        w.GoToEnd();
        w.PageBreak();
        w.Paste();
      }
      for (const char* f : {"$fnumdate", "$fdolfioruk", "$fosn", "$fdolfiootdrab1", "$fdolfiootdrab2", "$fnumdg",
                            "$fdatedg", "$fokl", "$foprop", "$fpkg", "$ffruk1", "$ffiorab1", "$fnumpr", "$fdtopr", "$fdtvpr"})
        w.ReplaceAll(f, std::string("значение ") + std::to_string(i));
      if (w.Find("$fdatarab")) w.TypeText("Адрес прописки\nг. Город\nПаспорт 1234 № 567890");
      if (w.Find("$fsogl")) w.TypeText("Юрисконсульт");
    }
    w.Activate(tpl);
    w.CloseWindow();
    w.SetVisible(true);
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
  double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  std::printf("word_paste %d %.2f %.0f\n", n, s, ru.ru_maxrss / 1024.0);
  return 0;
}
