// "HRDOC030": every employee of the department on the report date with four kinds of service
// (kinds 1, 2, 4 and 16), under a heading for each department in tree order.
#include <cstdint>
#include <string>

#include "calc/uosrv200.h"
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

constexpr const char* kQryKpn = R"(select s2.sname as sort1,
(case when s3.sname is null
then s1.sname
else s3.sname end) sort2,
(case when s4.sname is null
then (case when s3.sname is null then null else s1.sname end)
else s4.sname end) sort3,
(case when s4.sname is null
then null
else s1.sname end) sort4,

kpn.kp, kpn.tn, kpn.fname,
t2.owner,t2.dto
from kdt2iiidvg t2
left join otzkpn kpn on kpn.kp=t2.kp
left join otzkpn s1 on s1.kp=t2.owner
left join otzruc ruc on ruc.owner=t2.owner
left join otzkpn s2 on s2.kp=ruc.ow1
left join otzkpn s3 on s3.kp=ruc.ow2
left join otzkpn s4 on s4.kp=ruc.ow3
where t2.dto=(select max(t2dvg.dto) from kdt2iiidvg t2dvg where t2dvg.kp=t2.kp and t2dvg.dto<=:fd)
and t2.ktd!=121 and (t2.ktpd<=1 or t2.ktpd is null)  and t2.okl>0.1
and (ruc.ow1=:ow1 or ruc.ow2=:ow2 or ruc.ow3=:ow3 or ruc.ow4=:ow4 or ruc.ow5=:ow5
 or ruc.ow6=:ow6 or ruc.ow7=:ow7 or t2.owner=:ow or 0=:md))";

// A slot as years, months and days with two blanks between them: "12  3  5".
std::string SpanText(TStageSpan s) {
  return std::to_string(s.years()) + "  " + std::to_string(s.months()) + "  " + std::to_string(s.days());
}

class Tfmhrd03 : public TReportWindow {
 public:
  void Job() override {
    // The rest of the host's run works with the date without its time of day.
    const text::Ymd ymd = text::decode_date(c_p->D);
    c_p->D = text::encode_date(ymd.year, ymd.month, ymd.day);
    const TDateTime D = c_p->D;
    TExcelShablon w;
    if (!OpenReport(w, "hrdoc03", "Подготовка информации")) return;

    skpw record;
    c_p->f_skpw(static_cast<uint16_t>(c_p->KP), c_p->payroll_month, &record);
    w.SetField("ppH", "f1", "Сведения о стаже работников " + GetPathSkpw(record) + " на " + text::date_text(D));

    db::Query qryKpn(*dm->ADOConnection);
    qryKpn.sql(kQryKpn);
    qryKpn.set_date("fd", D);
    const int64_t K = c_p->KP;
    for (int i = 1; i <= 7; ++i) qryKpn.set("ow" + std::to_string(i), K);
    qryKpn.set("ow", K);
    qryKpn.set("md", K);
    qryKpn.open();
    qryKpn.sort("sort1,sort2,sort3,sort4,fname");

    int N = 0;
    int64_t P = 0;
    TStageResult slots;
    PrintRows(qryKpn, "FNAME", [&] {
      const int64_t owner = qryKpn.field("OWNER").as_int();
      if (owner != P) {
        w.ClearPart("ppR");
        w.SetField("ppR", "f3", GetPathRow(qryKpn, record, c_p->KP));
        w.AddPart("ppR", 0);
        P = owner;
      }
      w.ClearPart("ppP");
      w.SetField("ppP", "f4", static_cast<int32_t>(++N));
      w.SetField("ppP", "f5", static_cast<int32_t>(qryKpn.field("TN").as_int()));
      w.SetField("ppP", "f6", qryKpn.field("FNAME").as_string());
      slots.fill(TStageSpan{});
      CalcStage(static_cast<int>(qryKpn.field("KP").as_int()), 0, D, slots);
      // Kind 8 (slot 3) is not printed.
      w.SetField("ppP", "f7", SpanText(slots[0]));
      w.SetField("ppP", "f8", SpanText(slots[1]));
      w.SetField("ppP", "f9", SpanText(slots[2]));
      w.SetField("ppP", "f10", SpanText(slots[4]));
      w.AddPart("ppP", 0);
    });
    FinishReport(w, "ppH");
  }
};

const bool statements = register_statements("HRDOC030", {{"qryKpn", kQryKpn}});
const bool registered = register_report<Tfmhrd03, "HRDOC030">();

}  // namespace
}  // namespace hrdoc
