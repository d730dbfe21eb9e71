#include "reports/agreements/tariff_window.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "host/compark.h"
#include "reports/agreements/agreement_common.h"
#include "host/compark_text.h"
#include "host/domain.h"
#include "host/kvdlg_lookup.h"
#include "host/statements.h"
#include "host/udm.h"
#include "text/date.h"
#include "text/strings.h"

namespace hrdoc::agreements {
namespace {

constexpr const char* kQryDolRuk =
    R"(select dvg.nmdl from kdt2iiidvg dvg where dvg.kp=:KP and dvg.ktd>=21 and dvg.ktd<=26 order by dvg.dto desc)";

const bool statements = register_statements("tariff agreements", {{"qryDolRuk", kQryDolRuk}});

std::string quoted_date(TDateTime d) {
  const text::Ymd ymd = text::decode_date(d);
  char day[8];
  std::snprintf(day, sizeof day, "%02d", ymd.day);
  return std::string("«") + day + "» " + month_word(ymd.month) + " " +
         std::to_string(ymd.year) + " г.";
}

}  // namespace

TTariffAgreementWindow::TTariffAgreementWindow() {
  const std::string group = "Данные доп. соглашения";
  Fields = {ui::date_field("edDTOPr", "Дата выписки"),
            ui::date_field("edDTVPr", "Дата вступления в действие"),
            ui::text_field("edNumPr", "Номер"),
            ui::text_field("edOsnPr", "Руководитель действует на основании"),
            ui::lookup_field("edFioRuk", "ФИО руководителя",
                             [this](ui::Field& self, ui::Form& form) { return PickSignatory(self, form); }),
            ui::text_field("edDolRuk", "Должность руководителя"),
            ui::memo_field("mmSogl", "Согласование")};
  for (ui::Field& f : Fields) f.group = group;
  Buttons = {{"bnPrint", "Печать", false, false, true}, {"bnCancel", "Отмена", true}};
  WorkingCaption = "Идет печать документа. Пожалуйста подождите...";
}

std::string TTariffAgreementWindow::CheckEntries() {
  if (c_p->D == 0) return "Не указано текущее число!";
  if (c_p->KP == 0) return "Не указано подразделение";
  if (!DateOf("edDTOPr")) return "Не указана дата выписки доп. соглашения!";
  if (!DateOf("edDTVPr")) return "Не указана дата вступление в действие доп соглашения!";
  return {};
}

bool TTariffAgreementWindow::PickSignatory(ui::Field& self, ui::Form& form) {
  const int kp = c_p->KP;
  kvdlg::PersonPick pick;
  std::snprintf(pick.name, sizeof pick.name, "%s", self.value.c_str());
  if (c_p->l_call("KVDLG", "KPN2", &pick, 2) != 0 || pick.kp == 0) return false;
  // The picker may have moved the context; the agreements stay with the chosen department.
  c_p->KP = kp;
  c_p->SetKpSew(kp);
  kpRuk = pick.kp;
  self.value = pick.name;
  db::Query q(*dm->ADOConnection);
  q.sql(kQryDolRuk);
  q.set("KP", int64_t{pick.kp});
  q.open();
  if (ui::Field* dol = form.find("edDolRuk"); dol && !q.eof()) dol->value = q.field("nmdl").as_string();
  return true;
}

std::string TTariffAgreementWindow::IssueDateText() const { return quoted_date(*DateOf("edDTOPr")); }
std::string TTariffAgreementWindow::EffectiveDateText() const { return quoted_date(*DateOf("edDTVPr")); }
TDateTime TTariffAgreementWindow::SelectionDate() const { return text::first_day_of_month(*DateOf("edDTOPr")); }

std::string AmountText(double amount) {
  std::string s = text::rounded_text(amount, 2);
  for (char& c : s)
    if (c == '.') c = ',';
  return s;
}

std::string UnitText(const db::Query& row) {
  const int64_t kpg = row.field("KPG").as_int();
  if (kpg != 0 && kpg != domain::kRootDepartment)
    return " группы " + row.field("NMOWNER").as_string() + " отдела " + row.field("NMOWNERG").as_string();
  return " отдела " + row.field("NMOWNER").as_string();
}

std::string PositionUnitName(const std::string& position, const db::Query& row, const std::string& name) {
  return position + UnitText(row) + " " + name;
}

}  // namespace hrdoc::agreements
