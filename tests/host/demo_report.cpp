// A long test job for watching a report window on a terminal; never part of the library.
// Preloaded into the host, it takes over "HRDOC091" when HRDOC_DEMO_REPORT is set:
//
//   HRDOC_DEMO_REPORT=20 LD_PRELOAD=build/bin/hrdoc_demo_report.so build/bin/hrdoc run HRDOC091
//
// runs a job of about 20 seconds with the status line, the progress bar and the clock.
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "host/report_window.h"

namespace {

class TfmDemo : public hrdoc::TReportWindow {
 public:
  TfmDemo() { Caption = "Проверка окна отчёта"; }
  void AskQuestions() override { grouped_ = c_p->armerr(kArmQuestion, "Группировать сотрудников по отделам?") == 0; }
  void Job() override {
    const char* env = std::getenv("HRDOC_DEMO_REPORT");
    int seconds = env ? std::atoi(env) : 0;
    if (seconds <= 0) seconds = 10;
    const char* names[] = {"Иванов И.И.", "Петров П.П.", "Сидорова А.В.", "Кузнецов С.Н.", "Смирнова Е.А."};
    const int rows = seconds * 4;
    lbM.set_caption("Подготовка информации");
    pbM.set_min(0);
    pbM.set_position(0);
    pbM.set_step(1);
    pbM.set_max(rows);
    for (int i = 0; i < rows; ++i) {
      lbM.set_caption(std::string("Печать данных: ") + (grouped_ ? "(по отделам) " : "") + names[i % 5]);
      std::this_thread::sleep_for(std::chrono::milliseconds(250));
      pbM.step_it();
    }
  }

 private:
  bool grouped_ = false;
};

const bool registered = std::getenv("HRDOC_DEMO_REPORT") && hrdoc::register_report<TfmDemo, "HRDOC091">();

}  // namespace
