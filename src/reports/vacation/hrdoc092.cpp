// "HRDOC092": the vacation schedule of a period in the unified form T-7, optionally with the
// vacations actually granted by vacation orders.
#include <optional>
#include <string>

#include "db/database.h"
#include "host/compark.h"
#include "host/compark_text.h"
#include "host/domain.h"
#include "host/report_window.h"
#include "host/statements.h"
#include "host/udm.h"
#include "office/classexl.h"
#include "text/date.h"

namespace hrdoc {
namespace {

using office::TExcelShablon;
using office::Variant;

constexpr const char* kQryGo = R"(select kpn.FNAME as FIO,kpn.KP,kpn.TN,kpn1.FNAME as OWNAME,per.DT,kd.N as DOLN,per.DAYS
from KDVIIIGO go
left join otzkpn kpn on kpn.KP=go.KP
left join otzkpn kpn1 on kpn1.KP=kpn.OWNER
left join otzkpn kpn2 on kpn2.KP=kpn1.OWNER
left join otzkpn kpn3 on kpn3.KP=kpn2.OWNER
left join zpls ls on ls.KP=kpn.KP and ls.FD=:FD
left join zpkd kd on kd.D=ls.DOL
left join kdviiigoper per on per.yyear=go.yyear and per.KP=go.KP
where per.DT>=:DT1 and per.DT<=:DT2 and (0=:OW or :OW11 in (kpn.OWNER,kpn1.OWNER,kpn2.OWNER,kpn3.OWNER))
and ls.UW=0 and go.YYEAR=:YY)";

constexpr const char* kQryGrfExlOt = R"(select ot.PRO,ot.KOLVO,ot.KOLVD,ot.UNSD,ot.DTO,ot.KOLDKS,ot.KOLDKP, jz.ND
FROM kdsdjs js
LEFT JOIN kdsdjz jz ON jz.UND=js.UND
LEFT JOIN kdt2viiio ot ON ot.UNSD=js.UNSD
WHERE js.KP>0 and js.KP=:PKP and js.dto>:DT1 and js.dto<:DT2 and js.KTD=31 and ot.KVOT=1
order by js.dto)";

// A database value as the spreadsheet takes it: numbers as numbers, dates as dd.mm.yyyy.
Variant cell(const db::Field& f) {
  const db::Value& v = f.value();
  if (const auto* i = std::get_if<int64_t>(&v)) return Variant(static_cast<double>(*i));
  if (const auto* d = std::get_if<double>(&v)) return Variant(*d);
  if (const auto* t = std::get_if<db::Date>(&v)) return Variant(text::date_text(t->value));
  if (const auto* s = std::get_if<std::string>(&v)) return Variant(*s);
  return Variant();
}

class TfmHRDOC092 : public TReportWindow {
 public:
  void AskQuestions() override {
    byOrders_ = c_p->armerr(kArmQuestion, "Тип выборки", "Сформировать по приказам на отпуск?") == 0;
    byDepartment_ = c_p->armerr(kArmQuestion, "Тип сортировки", "Группировать сотрудников по отделам?") == 0;
  }

  void Job() override {
    TExcelShablon w;
    if (!OpenReport(w, "HRDOC092", "Подготовка формы для печати...")) return;

    w.SetField("ppH", "fpodr", domain::department_name(*dm, c_p->KP));
    const domain::Signatory director = domain::signatory(*dm, c_p->NASH, c_p->payroll_month);
    w.SetField("ppH", "fdirek", director.position);
    w.SetField("ppH", "ffiodir", director.name);
    const domain::Signatory personnel = domain::signatory(*dm, c_p->NACHOK, c_p->payroll_month);
    w.SetField("ppPodp", "fkadrdol", personnel.position);
    w.SetField("ppPodp", "fkadrfio", personnel.name);
    w.SetField("ppH", "fdtsost", text::date_text(c_p->D));
    w.SetField("ppH", "fyysost", static_cast<int32_t>(text::decode_date(c_p->D).year));

    db::Query qryGo(*dm->ADOConnection);
    qryGo.sql(kQryGo);
    qryGo.set_date("DT1", c_p->D1);
    qryGo.set_date("DT2", c_p->D2);
    qryGo.set("OW", int64_t{c_p->KP});
    qryGo.set("OW11", int64_t{c_p->KP});
    qryGo.set_date("FD", text::first_day_of_month(c_p->payroll_month));
    qryGo.set("YY", int64_t{text::decode_date(c_p->D1).year});
    qryGo.open();
    qryGo.sort(byDepartment_ ? "OWNAME,FIO,DT" : "FIO,DT");

    db::Query qryGrfExlOt(*dm->ADOConnection);
    qryGrfExlOt.sql(kQryGrfExlOt);
    int64_t previous = 0;
    PrintRows(qryGo, "FIO", [&] {
      const std::string fio = qryGo.field("FIO").as_string();
      w.ClearPart("ppD");
      const int64_t kp = qryGo.field("KP").as_int();
      if (kp != previous) {
        w.SetField("ppD", "fpodr", qryGo.field("OWNAME").as_string());
        w.SetField("ppD", "fdol", qryGo.field("DOLN").as_string());
        w.SetField("ppD", "ffio", fio);
        w.SetField("ppD", "ftn", cell(qryGo.field("TN")));
      }
      if (!qryGo.field("DT").is_null()) w.SetField("ppD", "fdts", cell(qryGo.field("DT")));
      previous = kp;
      if (!byOrders_) {
        w.SetField("ppD", "fdays", cell(qryGo.field("DAYS")));
      } else {
        qryGrfExlOt.close();
        qryGrfExlOt.set("PKP", kp);
        qryGrfExlOt.set_date("DT1", c_p->D1);
        qryGrfExlOt.set_date("DT2", c_p->D2);
        qryGrfExlOt.open();
        for (bool firstLine = true; !qryGrfExlOt.eof(); qryGrfExlOt.next(), firstLine = false) {
          const db::Field pro = qryGrfExlOt.field("PRO");
          const bool granted = pro.is_null() || pro.as_int() == 0;
          if (!firstLine) {
            if (!granted) continue;
            // Each further order granting vacation gets a line of its own below.
            w.AddPart("ppD", 0);
            w.ClearPart("ppD");
          }
          if (granted) {
            w.SetField("ppD", "fdays", static_cast<double>(qryGrfExlOt.field("KOLVO").as_int() +
                                                           qryGrfExlOt.field("KOLVD").as_int()));
            w.SetField("ppD", "fdtfact", cell(qryGrfExlOt.field("DTO")));
          } else if (pro.as_int() == 1) {
            w.SetField("ppD", "fotz", cell(qryGrfExlOt.field("ND")));
          }
        }
        qryGrfExlOt.close();
        // The employee's next planned part goes on a line of its own with its date only.
        const int here = qryGo.position();
        const bool noDate = qryGo.field("DT").is_null();
        const TDateTime dt = qryGo.field("DT").as_date();
        qryGo.next();
        const bool otherDate = qryGo.field("DT").is_null() != noDate || qryGo.field("DT").as_date() != dt;
        if (!qryGo.eof() && qryGo.field("KP").as_int() == kp && otherDate) {
          w.AddPart("ppD", 0);
          w.ClearPart("ppD");
          if (!qryGo.field("DT").is_null()) w.SetField("ppD", "fdts", cell(qryGo.field("DT")));
        } else {
          qryGo.move_to(here);
        }
      }
      w.AddPart("ppD", 0);
    });
    w.FitOutputRows();
    // Only the header part is kept: the signature part, filled above, goes with the template rows.
    FinishReport(w, "ppH");
  }

 private:
  bool byOrders_ = false;
  bool byDepartment_ = false;
};

const bool statements = register_statements("HRDOC092", {{"qryGo", kQryGo}, {"qryGrfExlOt", kQryGrfExlOt}});
const bool registered = register_report<TfmHRDOC092, "HRDOC092">();

}  // namespace
}  // namespace hrdoc
