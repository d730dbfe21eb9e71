#include "calc/fmstage.h"

#include "host/compark.h"
#include "host/kvdlg_lookup.h"
#include "text/strings.h"

namespace hrdoc {

TfmNSTAGE::TfmNSTAGE(compark* ctx) : ctx_(ctx) {
  form.name = "fmNSTAGE";
  form.caption = "Настройка режимов работы";
  ui::Field CSEStage = ui::spin_field("CSEStage", "Стаж не менее", 0, 999, 0);
  ui::Field Ed = ui::lookup_field("EdStage", "Вид стажа:", [this](ui::Field&, ui::Form&) { return btnStgClick(); });
  CSEStage.group = Ed.group = "Стаж";
  form.fields = {CSEStage, Ed};
  // Enter cancels: the report runs only when asked to.
  form.buttons = {{"bbtnOk", "OK"}, {"bbtnCancel", "&Отказаться", true, false, true}};
}

bool TfmNSTAGE::btnStgClick(const std::string& typed) {
  kvdlg::LookupEntry keys[1] = {kvdlg::LookupEntry("TSTG", 0)};
  // The results start from the current choice, so that a look-up left without a choice keeps it.
  kvdlg::LookupEntry results[3] = {kvdlg::LookupEntry("TSTG", kind_code), kvdlg::LookupEntry("KF"),
                                   kvdlg::LookupEntry("NSTG")};
  results[2].value.set_text(chosen_);
  kvdlg::LookupReply reply(typed);
  const int answer = ctx_->l_call("KVDLG", "SPRANYEX", "Типы стажей", "KDISTAG", "TSTG;",
                                  "TSTG,Код;NSTG,Наименование;KF,Коэффициент,,0;", keys, 1, results, 3, &reply);
  chosen_ = results[2].value.as_text();
  kind_code = static_cast<int32_t>(results[0].value.as_int());
  EdStage().value = chosen_;
  return answer == 0;
}

std::optional<int> TfmNSTAGE::MinimumYears(const std::string& text) {
  if (text.empty() || text.size() > 3) return std::nullopt;
  int n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  return n;
}

bool TfmNSTAGE::Accept(int& years) {
  const std::string& entered = form.find("CSEStage")->value;
  const auto minimum = MinimumYears(entered);
  if (!minimum) {
    ctx_->ui()->message_box("Ошибка", "Стаж не менее: \"" + entered + "\" - нужно число лет от 0 до 999",
                            ui::MB_ICONERROR);
    return false;
  }
  // A kind typed rather than chosen is looked up as the user would have picked it; one the
  // dictionary lacks is reported by the look-up.
  const std::string typed = text::trim(EdStage().value);
  if (typed.empty()) {
    kind_code = 0;
    chosen_.clear();
    EdStage().value.clear();
  } else if (typed != chosen_ && !btnStgClick(typed)) {
    return false;
  }
  years = *minimum;
  return true;
}

int TfmNSTAGE::Execute(int32_t& kind, int& years, std::string& name) {
  kind_code = 0;
  ui::Ui& ui = *ctx_->ui();
  int minimum = 0;
  for (;;) {
    if (!ui.edit_form(form)) return 0;
    if (Accept(minimum)) break;
    if (!ui.can_ask_again()) return 0;
  }
  kind = kind_code;
  years = minimum;
  name = EdStage().value;
  return 1;
}

}  // namespace hrdoc
