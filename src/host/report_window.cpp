#include "host/report_window.h"

#include "host/compark_text.h"
#include "host/udm.h"
#include "office/classexl.h"
#include "office/classwrd.h"
#include "office/office_host.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "text/date.h"
#include "ui/stop.h"

namespace hrdoc {

TReportWindow::TReportWindow() {
  Timer1.set_handler([this] { Timer1Timer(); });
  pbM.on_step([this] { CheckCancel(); });
}

void TReportWindow::Cancel() { ui::request_stop(); }

void TReportWindow::CheckCancel() const { ui::check_stop(); }

TReportWindow::~TReportWindow() {
  // The timer thread touches this window: stop it before anything goes.
  Timer1.stop();
  if (window_) window_->close();
}

void TReportWindow::Timer1Timer() {
  int s = ++seconds_;
  char text[64];
  std::snprintf(text, sizeof text, "%2.2d:%2.2d -- %d -- %d", s / 60, s % 60, Counter1, Counter2);
  lbTm.set_caption(text);
}

const ui::Field& TReportWindow::Entry(const std::string& name) const {
  for (const auto& f : Fields)
    if (f.name == name) return f;
  throw std::logic_error(ClassName + " has no entry " + name);
}

std::string TReportWindow::Text(const std::string& name) const { return Entry(name).value; }

std::optional<TDateTime> TReportWindow::DateOf(const std::string& name) const {
  return text::parse_date(Entry(name).value);
}

int TReportWindow::Number(const std::string& name) const {
  const std::string& v = Entry(name).value;
  try {
    return v.empty() ? 0 : std::stoi(v);
  } catch (...) {
    return 0;
  }
}

bool TReportWindow::HasDatabase(const std::string& code) {
  if (dm && dm->ADOConnection) return true;
  c_p->armerr(kArmError, "Нет соединения с базой данных: отчёт " + code + " читает базу (hrdoc run " + code +
                             " --db ФАЙЛ.fdb).");
  return false;
}

std::optional<std::string> TReportWindow::WorkCopy(const std::string& code, const std::string& extension) {
  CheckCancel();
  std::optional<std::string> copy = host::open_work_copy(*c_p, code, extension);
  if (copy) return copy;
  const std::string& templates = c_p->ext().template_dir;
  const bool found = std::filesystem::exists(host::template_path(*c_p, code, extension));
  if (!found)
    c_p->armerr(kArmError, "Не найден шаблон " + templates + code + extension);
  else
    c_p->armerr(kArmError, "Не удалось сделать рабочую копию шаблона " + templates + code + extension + " в папке " +
                               c_p->ext().work_dir + ".");
  return copy;
}

bool TReportWindow::OpenReport(office::TExcelShablon& workbook, const std::string& code, const std::string& status,
                               Layout layout) {
  if (!HasDatabase(code)) return false;
  CheckCancel();
  lbM.set_caption(status);
  pbM.set_min(0);
  pbM.set_position(0);
  pbM.set_step(1);
  const std::optional<std::string> copy = WorkCopy(code);
  if (!copy) return false;
  if (layout == Layout::parts)
    workbook.Open(*copy, true, false, c_p->ext().office);
  else
    workbook.OpenPlain(*copy, false, c_p->ext().office);
  if (!workbook.IsOpen()) {
    // The spreadsheet layer has said why; the run still has to fail.
    c_p->armerr(kArmError, "Отчёт " + code + " не сформирован: не удалось открыть " + *copy + ".");
    return false;
  }
  return true;
}

std::unique_ptr<office::TWordDoc> TReportWindow::OpenWordReport(const std::string& code, const std::string& status) {
  if (!HasDatabase(code)) return nullptr;
  CheckCancel();
  lbM.set_caption(status);
  pbM.set_min(0);
  pbM.set_position(0);
  pbM.set_step(1);
  return std::make_unique<office::TWordDoc>(c_p->ext().work_dir,
                                            [](const std::string& path) { office::OfficeHost().DocumentShown(path); });
}

void TReportWindow::FinishReport(office::TExcelShablon& workbook, const std::string& keepParts) {
  if (workbook.PartCount() > 0)
    workbook.Finish(keepParts);
  else
    workbook.Show();
}

void TReportWindow::SetCaption(const std::string& text) {
  Caption = text;
  if (window_) window_->set_caption(text);
}

void TReportWindow::Create(const Command& command, compark* ctx, int value, ui::Ui& ui) {
  Attach(command, ctx, value, ui);
  Open(command);
}

void TReportWindow::Attach(const Command& command, compark* ctx, int value, ui::Ui& ui) {
  ui_ = &ui;
  ClassName = command.window_class;
  if (Caption.empty()) Caption = command.caption;
  c_p = ctx;
  dm = ctx ? ctx->data_module() : nullptr;
  arg = value;
}

void TReportWindow::Open(const Command& command) {
  window_ = ui_->open_window(Caption);
  ui::Window* w = window_.get();
  lbM.bind([w](const std::string& t) { w->set_status(t); });
  pbM.bind(w);
  w->on_stop([this] { Cancel(); });
  // Only windows of the shown kind carry the clock.
  if (command.kind == LaunchKind::shown) {
    lbTm.bind([w](const std::string& t) { w->set_clock(t); });
    Timer1.start(*ui_);
  }
}

void TReportWindow::Show() {
  if (window_) window_->show();
}

bool TReportWindow::ShowModal() {
  ui::Form form;
  form.name = ClassName;
  form.caption = Caption;
  form.buttons = Buttons;
  if (form.buttons.empty()) form.buttons = {{"BitBtn1", "Печать", false}, {"BitBtn2", "Отмена", true}};
  form.fields = Fields;
  bool ran = false;
  for (;;) {
    bool confirmed = ui_->edit_form(form);
    Fields = form.fields;
    if (!confirmed) break;
    const ui::Button* button = form.button(form.pressed);
    Pressed = form.pressed;
    std::string error = CheckEntries();
    if (!error.empty()) {
      c_p->armerr(kArmError, error.c_str());
      // Nobody can correct the entries (batch): give the window up as if cancelled.
      if (!ui_->can_ask_again() && !(button && button->stays)) break;
      continue;
    }
    pbM.set_visible(true);
    Show();
    if (!WorkingCaption.empty()) SetCaption(WorkingCaption);
    Press();
    ran = true;
    if (!button || !button->stays) break;
    if (!WorkingCaption.empty()) SetCaption(form.caption);
  }
  if (ran) Close();
  return ran;
}

void TReportWindow::Close() {
  Timer1.stop();
  if (window_) window_->close();
}

namespace {

// The departments a "USRSEW" report counts, as a user reads them.
std::string department_set(const compark& ctx) {
  const std::vector<int> keys = ctx.kpsew_keys();
  if (keys.empty()) return "набор подразделений: всё предприятие";
  std::string text = "набор подразделений: ";
  for (size_t i = 0; i < keys.size(); ++i) text += (i ? "," : "") + std::to_string(keys[i]);
  return text;
}

}  // namespace

void RunReport(const char* command, const std::function<std::unique_ptr<TReportWindow>()>& make, compark* ctx,
               int value) {
  const Command* cmd = find_command(command);
  // Launchers that take no context still work on the host's.
  compark* cp = ctx ? ctx : ::c_p;
  if (!cmd || !cp || !cp->ui()) return;
  // The documents of a run are named after its command, whichever templates it copies.
  struct DocumentCode {
    compark& ctx;
    DocumentCode(compark& c, const char* code) : ctx(c) { ctx.ext().document_code = code; }
    ~DocumentCode() { ctx.ext().document_code.clear(); }
  } naming(*cp, command);
  try {
    const bool skip_dialog = cmd->arg == LaunchArg::entry2 && value != 0;
    if (!skip_dialog &&
        cp->l_call("KVDLG", cmd->dialog, cmd->dialog_args[0], cmd->dialog_args[1], cmd->dialog_args[2]) != 0)
      return;
    if (std::string(cmd->dialog) == "USRSEW") std::fprintf(stderr, "%s: %s\n", command, department_set(*cp).c_str());
    std::unique_ptr<TReportWindow> w = make();
    w->Attach(*cmd, cp, value, *cp->ui());
    if (cmd->kind == LaunchKind::direct && !w->Settings()) return;
    w->Open(*cmd);
    switch (cmd->kind) {
      case LaunchKind::direct:
        w->Show();
        w->Job();
        w->Close();
        break;
      case LaunchKind::shown:
        w->AskQuestions();
        w->Show();
        w->Job();
        w->Close();
        break;
      case LaunchKind::modal:
        w->ShowModal();
        break;
      case LaunchKind::own:
        if (w->Prepare()) w->ShowModal();
        break;
    }
  } catch (const std::exception& e) {
    // A stopped job unwinds through whatever it was doing; that is no error to show.
    if (!ui::stop_requested()) cp->armerr(kArmError, e.what());
  } catch (...) {
    if (!ui::stop_requested()) cp->armerr(kArmError, "Непредвиденная ошибка");
  }
  // A stopped command takes back what it wrote; a finished or failed one leaves it.
  if (ui::stop_requested())
    ui::discard_outputs();
  else
    ui::keep_outputs();
}

}  // namespace hrdoc
