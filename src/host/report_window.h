#pragma once
// The report window every command opens, and the launchers that run it. A report unit derives
// its window from TReportWindow, declares what differs (caption, modal entries, questions,
// entry checks) and writes its job; one line registers it for its command:
//
//   class TfmHRDOC091 : public hrdoc::TReportWindow {
//     void Job() override;
//   };
//   static const bool registered = hrdoc::register_report<TfmHRDOC091, "HRDOC091">();
//
// The launch kind, the parameter dialog and its arguments come from the command table.

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/commands.h"
#include "host/compark.h"
#include "ui/controls.h"
#include "ui/ui.h"

namespace hrdoc {
namespace office {
class TExcelShablon;
}

class TReportWindow {
 public:
  TReportWindow();
  virtual ~TReportWindow();
  TReportWindow(const TReportWindow&) = delete;
  TReportWindow& operator=(const TReportWindow&) = delete;

  // Filled by the launcher before the job: the host context and its data module, and the
  // launcher argument (the integer of the "L" commands, the 0/1 of paired commands).
  compark* c_p = nullptr;
  Tdm* dm = nullptr;
  int arg = 0;
  std::string ClassName;

  // The window caption; the command table's unless the window sets its own.
  std::string Caption;
  // Modal windows: the entries, and the caption while the job prints.
  std::vector<ui::Field> Fields;
  std::string WorkingCaption;

  // Standard controls: status line, progress bar (Min 0, Max 100), clock and its timer. Some
  // windows call the bar pb: `ui::ProgressBar& pb = pbM;`.
  ui::Label lbM;
  ui::ProgressBar pbM{0, 100};
  ui::Label lbTm{"00:00"};
  ui::Timer Timer1{1000};

  // One tick of the clock: elapsed seconds as "%2.2d:%2.2d -- 0 -- 0".
  void Timer1Timer();
  int Seconds() const { return seconds_; }

  // Shown windows: the report's own questions, asked before the window is shown.
  virtual void AskQuestions() {}
  // Modal windows: the entry checks in order; the text of the first that fails, empty when
  // all pass.
  virtual std::string CheckEntries() { return {}; }
  // The report's work.
  virtual void Job() = 0;

  // Entries of a modal window by name (an unknown name is a programming error: logic_error).
  const ui::Field& Entry(const std::string& name) const;
  std::string Text(const std::string& name) const;
  std::optional<TDateTime> DateOf(const std::string& name) const;
  int Number(const std::string& name) const;

  // Asks the running job to stop: what a stop button of the window calls; Ctrl+C and the
  // termination signals reach the same request through the host.
  void Cancel();
  // Throws ui::Stopped once a stop was asked for. The frame calls it at every progress step and
  // before the work copy is made; statements check on their own.
  void CheckCancel() const;

  void SetCaption(const std::string& text);
  // The opening steps of a job that fills a template: the first status text, the progress bar
  // at 0 with step 1, the template's work copy opened as the report workbook (on the run's
  // backend). False, after a message, without a database or when no work copy could be made.
  bool OpenReport(office::TExcelShablon& workbook, const std::string& code, const std::string& status);
  ui::Ui& UI() const { return *ui_; }

  // The frame's steps, used by the launcher.
  void Create(const Command& command, compark* ctx, int value, ui::Ui& ui);
  void Show();
  // Runs the modal loop; true when "Печать" ran the job.
  bool ShowModal();
  void Close();

 private:
  ui::Ui* ui_ = nullptr;
  std::unique_ptr<ui::Window> window_;
  std::atomic<int> seconds_{0};
  int Counter1 = 0, Counter2 = 0;  // shown on the clock; no job changes them
};

// Runs a command's window of the given kind; errors escaping the job are shown as error boxes.
void RunReport(const char* command, const std::function<std::unique_ptr<TReportWindow>()>& make, compark* ctx,
               int value);

// A command name as a template argument.
template <size_t N>
struct CommandName {
  char text[N];
  constexpr CommandName(const char (&s)[N]) { std::copy_n(s, N, text); }
};

template <class W, CommandName Name>
void LaunchReport(compark* ctx, int value) {
  RunReport(Name.text, [] { return std::unique_ptr<TReportWindow>(new W()); }, ctx, value);
}

template <class W, CommandName Name>
bool register_report() {
  return register_launcher(Name.text, &LaunchReport<W, Name>);
}

}  // namespace hrdoc
