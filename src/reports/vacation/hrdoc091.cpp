// "HRDOC091": the numbered list of the employees whose planned vacation starts in the month of
// the report date.
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

constexpr const char* kQryGo = R"(select kpn.FNAME as FIO,kpn1.FNAME as OWNAME,per.DT,kd.N as DOLN
from KDVIIIGO go
left join otzkpn kpn on kpn.KP=go.KP
left join otzkpn kpn1 on kpn1.KP=kpn.OWNER
left join otzkpn kpn2 on kpn2.KP=kpn1.OWNER
left join otzkpn kpn3 on kpn3.KP=kpn2.OWNER
left join zpls ls on ls.KP=kpn.KP and ls.FD=:FD
left join zpkd kd on kd.D=ls.DOL
left join kdviiigoper per on per.yyear=go.yyear and per.kp=go.kp
where per.DT>=:DT1 and per.DT<=:DT2 and (0=:OW or :OW1 in (kpn.OWNER,kpn1.OWNER,kpn2.OWNER,kpn3.OWNER))
and ls.UW=0 and go.YYEAR=:YY
order by 2,1,3)";

class TfmHRDOC091 : public TReportWindow {
 public:
  void Job() override {
    TExcelShablon w;
    if (!OpenReport(w, "HRDOC091", "Подготовка формы для печати...")) return;

    w.SetField("ppH", "fpodr", "отпусков работников подразделения " + domain::department_name(*dm, c_p->KP));
    const text::Ymd d = text::decode_date(c_p->D);
    w.SetField("ppH", "fmonth", text::month_name(d.month, 0));

    db::Query qryGo(*dm->ADOConnection);
    qryGo.sql(kQryGo);
    qryGo.set_date("DT1", text::encode_date(d.year, d.month, 1));
    qryGo.set_date("DT2", text::encode_date(d.year, d.month, text::days_in_month(d.year, d.month)));
    qryGo.set("OW", int64_t{c_p->KP});
    qryGo.set("OW1", int64_t{c_p->KP});
    qryGo.set_date("FD", text::first_day_of_month(c_p->payroll_month));
    qryGo.set("YY", int64_t{d.year});
    qryGo.open();
    int number = 0;
    PrintRows(qryGo, "FIO", [&] {
      w.ClearPart("ppD");
      w.SetField("ppD", "fnum", static_cast<int32_t>(++number));
      w.SetField("ppD", "ffio", qryGo.field("FIO").as_string());
      w.SetField("ppD", "fdol", qryGo.field("DOLN").as_string());
      w.SetField("ppD", "fpodr", qryGo.field("OWNAME").as_string());
      if (!qryGo.field("DT").is_null()) w.SetField("ppD", "fdts", text::date_text(qryGo.field("DT").as_date()));
      w.AddPart("ppD", 0);
    });
    w.FitOutputRows();
    FinishReport(w, "ppH");
  }
};

const bool statements = register_statements("HRDOC091", {{"qryGo", kQryGo}});
const bool registered = register_report<TfmHRDOC091, "HRDOC091">();

}  // namespace
}  // namespace hrdoc
