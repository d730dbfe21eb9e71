// "HRDOC170": the employees of the department whose service of one chosen kind is at least a
// chosen number of whole years on the report date, under a heading for each department.
#include <cstdint>
#include <string>

#include "calc/fmstage.h"
#include "calc/uosrv200.h"
#include "db/database.h"
#include "host/compark.h"
#include "host/domain.h"
#include "host/report_window.h"
#include "host/statements.h"
#include "host/udm.h"
#include "host/uosrv250.h"
#include "office/classexl.h"
#include "text/date.h"

namespace hrdoc {
namespace {

using office::TExcelShablon;

constexpr const char* kQryKpn = R"(select ((case when s2.sname is NULL then '' else s2.sname end)
  ||(case when s3.sname is NULL then '' else s3.sname end)
  ||(case when s4.sname is NULL then '' else s4.sname end)
  ||(case when s1.sname is NULL then '' else s1.sname end)) as srt,

kpn.kp, kpn.tn, kpn.fname,
t2.owner,t2.dto,
s1.sname,s3.sname as sname2

from kdt2iiidvg t2
left join otzkpn kpn on kpn.kp=t2.kp
left join otzkpn s1 on s1.kp=t2.owner
left join otzruc ruc on ruc.owner=t2.owner
left join otzkpn s2 on s2.kp=ruc.ow1
left join otzkpn s3 on s3.kp=ruc.ow2
left join otzkpn s4 on s4.kp=ruc.ow3
where t2.dto=(select max(t2dvg.dto) from kdt2iiidvg t2dvg where t2dvg.kp=t2.kp and t2dvg.dto<=:fd)
and t2.ktd!=121 and t2.ktpd=1 and t2.okl>0 and t2.stv>0 and t2.ktpd=1
and (ruc.ow1=:ow1 or ruc.ow2=:ow2 or ruc.ow3=:ow3 or ruc.ow4=:ow4 or ruc.ow5=:ow5
 or ruc.ow6=:ow6 or ruc.ow7=:ow7 or t2.owner=:ow or 0=:md)

order by 1,kpn.fname)";

class Tfmhrd170 : public TReportWindow {
 public:
  bool Settings() override { return TfmNSTAGE(c_p).Execute(kind_, years_, name_) == 1; }

  void Job() override {
    TExcelShablon w;
    if (!OpenReport(w, "hrdoc170", "Подготовка информации")) return;

    const std::string D = text::date_text(c_p->D);
    skpw record;
    c_p->f_skpw(static_cast<uint16_t>(c_p->KP), c_p->payroll_month, &record);
    w.SetField("ppH", "f1", "Сведения по типу стажа: " + name_);
    w.SetField("ppH", "f2", "имеющих стаж не менее " + std::to_string(years_) + " лет " + " на " + D);
    w.SetField("ppH", "f3", "подразделение " + GetPathSkpw(record));

    db::Query qryKpn(*dm->ADOConnection);
    qryKpn.sql(kQryKpn);
    qryKpn.set_date("fd", c_p->D);
    const int64_t K = c_p->KP;
    for (int i = 1; i <= 7; ++i) qryKpn.set("ow" + std::to_string(i), K);
    qryKpn.set("ow", K);
    qryKpn.set("md", K);
    qryKpn.open();

    const int slot = domain::service_slot(kind_);
    int N = 0;
    int64_t P = 0;
    TStageResult slots;
    pbM.set_max(qryKpn.record_count());
    for (qryKpn.first(); !qryKpn.eof(); qryKpn.next()) {
      lbM.set_caption("Печать данных: " + qryKpn.field("FNAME").as_string());
      slots.fill(TStageSpan{});
      CalcStage(static_cast<int>(qryKpn.field("KP").as_int()), 0, c_p->D, slots);
      // A code that is no kind of service prints nothing more.
      if (slot < 0) break;
      const TStageSpan s = slots[static_cast<size_t>(slot)];
      if (s.years() >= years_) Print(w, qryKpn, s, P, N);
      pbM.step_it();
    }
    FinishReport(w, "ppH");
  }

 private:
  void Print(TExcelShablon& w, const db::Query& row, TStageSpan s, int64_t& P, int& N) {
    const int64_t owner = row.field("OWNER").as_int();
    if (owner != P) {
      const std::string sname = row.field("SNAME").as_string(), sname2 = row.field("SNAME2").as_string();
      w.ClearPart("ppR");
      w.SetField("ppR", "fnown", sname2.empty() ? sname : sname2 + ": " + sname);
      w.AddPart("ppR", 0);
      P = owner;
    }
    w.ClearPart("ppP");
    w.SetField("ppP", "fnpp", static_cast<int32_t>(++N));
    w.SetField("ppP", "ftn", static_cast<int32_t>(row.field("TN").as_int()));
    w.SetField("ppP", "ffio", row.field("FNAME").as_string());
    w.SetField("ppP", "flet", static_cast<int32_t>(s.years()));
    w.SetField("ppP", "fmes", static_cast<int32_t>(s.months()));
    w.SetField("ppP", "fdney", static_cast<int32_t>(s.days()));
    w.AddPart("ppP", 0);
  }

  int32_t kind_ = 0;
  int years_ = 0;
  std::string name_;
};

const bool statements = register_statements("HRDOC170", {{"qryKpn", kQryKpn}});
const bool registered = register_report<Tfmhrd170, "HRDOC170">();

}  // namespace
}  // namespace hrdoc
