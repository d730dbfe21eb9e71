// "HRDOC090", "HRDOC090L": the protocol of the employees whose planned vacation begins in the
// period, printed at once.
#include <string>

#include "db/database.h"
#include "host/compark.h"
#include "host/report_window.h"
#include "host/statements.h"
#include "host/udm.h"
#include "reports/vacation/protocol.h"
#include "text/date.h"

namespace hrdoc {
namespace {

constexpr const char* kQryGo = R"(select kpn.FNAME as FIO,kpn1.FNAME as OWNAME,per.dt
from KDVIIIGO go
left join otzkpn kpn on kpn.KP=go.KP
left join otzkpn kpn1 on kpn1.KP=kpn.OWNER
left join otzkpn kpn2 on kpn2.KP=kpn1.OWNER
left join otzkpn kpn3 on kpn3.KP=kpn2.OWNER
left join zpls ls on ls.KP=kpn.KP and ls.FD=:FD
left join kdviiigoper per on per.yyear=go.yyear and per.KP=go.KP
where per.DT>=:DT1 and per.DT<=:DT2 and (0=:OW or :OW1 in (kpn.OWNER,kpn1.OWNER,kpn2.OWNER,kpn3.OWNER))
and ls.UW=0 and go.YYEAR=:YY
order by 1,2,3)";

constexpr const char* kCaption =
    "Печать протокола проверки сотрудников, имеющих дату отпуска по графику в заданном интервале";

class TfmHRDOC090 : public TReportWindow {
 public:
  TfmHRDOC090() { Caption = kCaption; }

  void Job() override {
    db::Query qryGo(*dm->ADOConnection);
    qryGo.sql(kQryGo);
    qryGo.set_date("DT1", c_p->D1);
    qryGo.set_date("DT2", c_p->D2);
    qryGo.set("OW", int64_t{c_p->KP});
    qryGo.set("OW1", int64_t{c_p->KP});
    qryGo.set_date("FD", text::first_day_of_month(c_p->D1));
    qryGo.set("YY", int64_t{text::decode_date(c_p->payroll_month).year});
    qryGo.open();
    vacation::PrintProtocol(*this, "HRDOC090", qryGo, c_p->D1, c_p->D2);
  }
};

const bool statements = register_statements("HRDOC090", {{"qryGo", kQryGo}});
const bool registered =
    register_report<TfmHRDOC090, "HRDOC090">() && register_report<TfmHRDOC090, "HRDOC090L">();

}  // namespace
}  // namespace hrdoc
