#pragma once
// The report window every command opens, and the launchers that run it.
//
// How a report is written. A report unit derives its window from TReportWindow, declares what
// differs (caption, modal entries, questions, entry checks), writes its job and registers it
// for its command in one line:
//
//   class TfmHRDOC091 : public hrdoc::TReportWindow {
//     void Job() override {
//       office::TExcelShablon w;
//       if (!OpenReport(w, "HRDOC091", "Подготовка формы для печати...")) return;
//       w.SetField("ppH", "fpodr", domain::department_name(*dm, c_p->KP));   // header
//       db::Query q(*dm->ADOConnection);                                     // main query
//       ...
//       PrintRows(q, "FIO", [&] { w.ClearPart("ppD"); ...; w.AddPart("ppD", 0); });
//       FinishReport(w, "ppH");
//     }
//   };
//   static const bool registered = hrdoc::register_report<TfmHRDOC091, "HRDOC091">();
//
// - The launch kind, the parameter dialog and its arguments come from the command table.
// - OpenReport copies the template (name in any case) to a work copy and opens that: parts for
//   a book filled by parts, Layout::plain for one filled cell by cell. The template itself is
//   never written. When it returns false it has told the user why and marked the run failed:
//   the job just returns.
// - An exception escaping the job is shown as an error box (the run fails); the book filled so
//   far is still shown. Reports catch nothing to show errors themselves.
// - FinishReport is the one place a finished book is written and announced.
// - Shared look-ups (department name, signatory, event and ground codes) are in host/domain.h;
//   the department set of "USRSEW" reports is c_p->GetKpSewForWhere.

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/commands.h"
#include "db/database.h"
#include "host/compark.h"
#include "ui/controls.h"
#include "ui/ui.h"

namespace hrdoc {
namespace office {
class TExcelShablon;
class TWordDoc;
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
  // Modal windows: their own buttons; none declared: "Печать" (BitBtn1) and "Отмена" (BitBtn2).
  // A button marked stays runs its work and brings the window back (several print buttons,
  // the window closed only by a cancel button); any other non-cancel button runs its work and
  // closes the window:
  //   Buttons = {{"BitBtn1", "Печать", false, true}, {"BitBtn3", "Печать списка", false, true},
  //              {"BitBtn2", "Закрыть", true}};
  std::vector<ui::Button> Buttons;
  // The name of the button that started the current work.
  std::string Pressed;

  // Standard controls: status line, progress bar (Min 0, Max 100), clock and its timer. Some
  // windows call the bar pb: `ui::ProgressBar& pb = pbM;`.
  ui::Label lbM;
  ui::ProgressBar pbM{0, 100};
  ui::Label lbTm{"00:00"};
  ui::Timer Timer1{1000};

  // One tick of the clock: elapsed seconds as "%2.2d:%2.2d -- 0 -- 0".
  void Timer1Timer();
  int Seconds() const { return seconds_; }

  // Direct windows: a settings step before the window opens (a settings dialog, say); false
  // cancels the command: no window, no job, nothing written.
  virtual bool Settings() { return true; }
  // Own windows: fills the window (its lists, its entries) before the modal loop; false ends
  // the command without showing it.
  virtual bool Prepare() { return true; }
  // Shown windows: the report's own questions, asked before the window is shown.
  virtual void AskQuestions() {}
  // Modal windows: the entry checks in order; the text of the first that fails, empty when
  // all pass.
  virtual std::string CheckEntries() { return {}; }
  // The report's work.
  virtual void Job() = 0;
  // Modal windows: the work of a pressed button (Pressed names it); Job() unless overridden.
  virtual void Press() { Job(); }

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

  // How a template is read: by its parts and fields, or as plain cells.
  enum class Layout { parts, plain };
  // The opening steps of a job that fills a template: the first status text, the progress bar
  // at 0 with step 1, the template's work copy opened as the report workbook (on the run's
  // backend). False, after an error message, without a database or when no work copy could be
  // made or opened; the template is only ever read.
  bool OpenReport(office::TExcelShablon& workbook, const std::string& code, const std::string& status,
                  Layout layout = Layout::parts);
  // For jobs that drive the spreadsheet servers themselves, the two first steps of OpenReport:
  // false, after an error message, without a database; the work copy of a template, nullopt
  // after an error message when none could be made.
  bool HasDatabase(const std::string& code);
  std::optional<std::string> WorkCopy(const std::string& code, const std::string& extension = ".xlsx");
  // The opening steps of a job that fills Word templates (copied by WorkCopy with ".docx"): the
  // status text, the progress bar at 0 and the word processor whose new documents are placed and
  // shown like books. Null, after an error message, without a database.
  std::unique_ptr<office::TWordDoc> OpenWordReport(const std::string& code, const std::string& status);
  // The closing step: a book of parts loses its marks and the parts not in keepParts ("ppH;ppX");
  // the book is written once and shown.
  void FinishReport(office::TExcelShablon& workbook, const std::string& keepParts = {});

  // The main loop over a query's rows: progress maximum = the row count; for each row the
  // status "Печать данных: " + the row's nameField, the row's work, the next row, one step.
  // The work may move the query on itself (look-ahead); the loop then goes on from there.
  template <class Work>
  void PrintRows(db::Query& q, const std::string& nameField, Work&& work) {
    pbM.set_max(q.record_count());
    for (q.first(); !q.eof(); q.next()) {
      lbM.set_caption("Печать данных: " + q.field(nameField).as_string());
      work();
      pbM.step_it();
    }
  }
  ui::Ui& UI() const { return *ui_; }

  // The frame's steps, used by the launcher. Create = Attach (members) + Open (the window).
  void Create(const Command& command, compark* ctx, int value, ui::Ui& ui);
  void Attach(const Command& command, compark* ctx, int value, ui::Ui& ui);
  void Open(const Command& command);
  void Show();
  // Runs the modal loop; true when a button ran the work.
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
