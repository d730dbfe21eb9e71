// "HRDOC270": supplementary agreements giving employees an itinerant nature of work, for the
// employees ticked in the window's list.
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "db/database.h"
#include "host/compark.h"
#include "host/report_window.h"
#include "host/statements.h"
#include "host/udm.h"
#include "reports/agreements/agreement_common.h"
#include "text/date.h"
#include "text/strings.h"

namespace hrdoc {
namespace {

using namespace agreements;

constexpr const char* kQryName = R"(select SNAME from otzkpn where KP=:KP)";

class Tfmhrd270 : public TReportWindow {
 public:
  Tfmhrd270() {
    Buttons = {{"bbPrnAllCheck", "Печать", false, true}, {"bbClose", "Закрыть", true}};
    WorkingCaption = "Идет печать документа. Пожалуйста подождите...";
  }

  // The list of the department's employees who have a salary and a rate, none ticked.
  bool Prepare() override {
    if (!dm || !dm->ADOConnection) {
      c_p->armerr(kArmError, "Нет соединения с базой данных: отчёт HRDOC270 читает базу (hrdoc run HRDOC270 --db ФАЙЛ.fdb).");
      return false;
    }
    const TDateTime D = c_p->D;
    lbPeriod.set_caption("на " + text::date_text(D));
    db::Query qryT2(*dm->ADOConnection), qryName(*dm->ADOConnection);
    qryT2.sql(kQryT2);
    qryName.sql(kQryName);
    ui::Table rows{{"Подразделение", "ФИО"}, {}};
    std::vector<long long> keys;
    for (EmployeeRow& e : read_employees(*dm, c_p->KP, text::first_day_of_month(D))) {
      if (!read_contract(qryT2, e.kp, D, text::first_day_of_month(D)).eligible()) continue;
      qryName.close();
      qryName.set("KP", int64_t{e.kp});
      qryName.open();
      rows.rows.push_back({e.unit, qryName.eof() ? std::string() : text::trim(qryName.field("SNAME").as_string())});
      keys.push_back(e.kp);
      employees_[e.kp] = std::move(e);
    }
    ui::Field lv = ui::checklist_field(
        "lv", "Печать соглашений о внесении изменений в трудовой договор " + lbPeriod.caption(), rows, keys);
    ui::Field osn = ui::text_field("edOsnPr", "Руководитель действует на основании");
    ui::Field effective = ui::date_field("edDTOPr", "Дата вступления изменений в действие", text::date_text(D));
    osn.group = effective.group = "Доп. сведения";
    Fields = {lv, osn, effective};
    return true;
  }

  std::string CheckEntries() override {
    if (Pressed == "bbPrnAllCheck" && !DateOf("edDTOPr")) return "Не указана дата вступления изменений в действие!";
    return {};
  }

  void Press() override {
    if (Pressed == "bbPrnAllCheck") Job();
  }

  void Job() override {
    AgreementBook book;
    if (!book.Open(*this, "hrdoc270")) return;
    ui::ProgressBar& pb = pbM;
    const TDateTime D = c_p->D, fd = text::first_day_of_month(D);
    const std::vector<long long> ticked = Entry("lv").ticked_keys();
    const Employer employer = read_employer(*c_p, *dm, fd);
    const AgreementSignatory signatory = read_signatory(*dm);
    pb.set_max(static_cast<int>(ticked.size()));

    db::Query qryT2(*dm->ADOConnection);
    qryT2.sql(kQryT2);
    for (long long key : ticked) {
      const Contract k = read_contract(qryT2, static_cast<int>(key), D, fd);
      lbM.set_caption("Печать данных: " + k.FNAME);
      Fill(book, employees_.at(static_cast<int>(key)), k, employer, signatory);
      pb.step_it();
    }
    book.Finish(*this);
  }

  ui::Label lbPeriod;

 private:
  void Fill(AgreementBook& book, const EmployeeRow& e, const Contract& k, const Employer& employer,
            const AgreementSignatory& signatory) {
    const text::Ymd effective = text::decode_date(*DateOf("edDTOPr"));
    char day[8];
    std::snprintf(day, sizeof day, "%2d", int{effective.day});
    const std::string employee = short_name(k.FNAME);

    book.NewSheet();
    book.Text(4, 1, text::date_text(c_p->D) + " г.");
    book.Text(5, 1,
              "     Открытое Акционерное Общество  «Заречтрубопровод» в лице " + signatory.position + " " +
                  signatory.name + "," + " действующего на основании " + Text("edOsnPr") +
                  ", в дальнейшем \"Работодатель\", с одной стороны и " + k.FNAME + ", " + k.DOLN + " " + e.unit +
                  " ОАО «Заречтрубопровод» " +
                  " в дальнейшем \"Работник\", с другой стороны, согласились внести в трудовой договор № " + k.CONN +
                  " от " + (k.CONDT ? text::date_text(*k.CONDT) : std::string()) + "г. следующие изменения:");
    book.Text(12, 3,
              "С " + std::string(day) + " " + month_word(effective.month) + " " + std::to_string(effective.year) +
                  " года работнику устанавливается с его согласия разъездной характер работы.");
    book.Text(17, 75, Requisites(e.address, k));
    book.Text(19, 1, employer_requisites(employer));
    book.Text(21, 23, short_name(signatory.name));
    book.Text(21, 104, employee);
    if (!employee.empty()) book.Text(27, 52, "(" + employee + ")");
  }

  // Name, passport, its issuer and date, the registered address.
  static std::string Requisites(const Address& a, const Contract& k) {
    std::string t = k.FNAME + "\nПаспорт " + k.SER + " №" + k.NUM;
    t += "\nВыдан: " + join({k.ORG, k.FDVD ? text::date_text(*k.FDVD) : std::string()}, " ");
    t += "\nМесто прописки: " + join({a.REGN, a.RAI, a.GOR, a.NAS, a.ULNAME, labelled("д. ", a.DOM),
                                       labelled("корп. ", a.KORP), labelled("кв. ", a.KV)});
    return t;
  }

  std::map<int, EmployeeRow> employees_;
};

const bool statements = register_statements("HRDOC270", {{"employee name", kQryName}});
const bool registered = register_report<Tfmhrd270, "HRDOC270">();

}  // namespace
}  // namespace hrdoc
