// "HRDOC031": the numbered list of names of the employees on the payroll of the month that
// starts on the report date. The department only names the list: payroll rows are not filtered
// by it.
#include <cstdint>
#include <string>

#include "db/database.h"
#include "host/compark.h"
#include "host/report_window.h"
#include "host/statements.h"
#include "host/udm.h"
#include "host/uosrv250.h"
#include "office/classexl.h"
#include "text/date.h"

namespace hrdoc {
namespace {

using office::TExcelShablon;

constexpr const char* kQryKpn = R"(select kpn.*
from zpls t2
left join otzkpn kpn on kpn.kp=t2.kp
where t2.fd=:fd
and t2.uw=0)";

class Tfmhrd031 : public TReportWindow {
 public:
  void Job() override {
    TExcelShablon w;
    if (!OpenReport(w, "hrdoc031", "Подготовка информации")) return;

    skpw record;
    c_p->f_skpw(static_cast<uint16_t>(c_p->KP), c_p->payroll_month, &record);
    w.SetField("ppH", "f1", "Список работников " + GetPathSkpw(record) + " на " + text::date_text(c_p->D));

    db::Query qryKpn(*dm->ADOConnection);
    qryKpn.sql(kQryKpn);
    qryKpn.set_date("fd", c_p->D);
    qryKpn.open();
    qryKpn.sort("fname");
    int N = 0;
    PrintRows(qryKpn, "FNAME", [&] {
      w.ClearPart("ppP");
      w.SetField("ppP", "f5", static_cast<int32_t>(++N));
      w.SetField("ppP", "f6", qryKpn.field("FNAME").as_string());
      w.AddPart("ppP", 0);
    });
    FinishReport(w, "ppH");
  }
};

const bool statements = register_statements("HRDOC031", {{"qryKpn", kQryKpn}});
const bool registered = register_report<Tfmhrd031, "HRDOC031">();

}  // namespace
}  // namespace hrdoc
