// "HRDOC130": the labour contracts of the current employees, department by department (form
// Ф.ex.25): the contract's number and date and the date of the last hire.
#include <string>

#include "db/database.h"
#include "host/compark.h"
#include "host/statements.h"
#include "office/classexl.h"
#include "reports/statistics/department_list.h"
#include "text/date.h"

namespace hrdoc {
namespace {

using office::TExcelShablon;

constexpr const char* kQryExl25 = R"(Select dvg.KP,dvg.unsd, kpn.FNAME, ob.contractn, ob.contractdate,dvg1.DTN,
kpn.tn,dvg.nmdl as doln,((htr.ktht*100000)+(htr.ktpd*10000)+htr.nn) as SORTNN
from  KDT2IIIDVG dvg
    left join  OTZKPN kpn on kpn.kp=dvg.kp
    left join  KDT2IOB ob on ob.kp=dvg.kp
    left join  KDT2IIIDVG dvg1 on dvg1.unsd=
        (select first 1 dvg2.unsd
        from KDT2IIIDVG dvg2
        left join KDSDJS js1 on js1.UNSD=dvg2.UNSD
        where dvg2.kp=dvg.kp and dvg2.DTO<=dvg.DTO and js1.KTD=21
        order by dvg2.DTO desc,dvg2.UNSD desc)
left join kdhtro htr on htr.owner=kpn.owner and htr.kd=dvg.kd and htr.kp=dvg.kp and htr.dto=dvg.dto and htr.ktd=dvg.ktd and htr.unsd=dvg.unsd
where ob.PSTS is NULL and  dvg.owner=:PODR
      and dvg.unsd=(select first 1 dvg3.unsd
        from KDT2IIIDVG dvg3
        where dvg3.kp=dvg.kp and dvg3.DTO<=:DT2
        order by dvg3.DTO desc,dvg3.UNSD desc
        )
      and (select js.ktd
              from KDSDJS js
              where  js.UNSD=dvg.UNSD
            ) not in (121,122,123)
      and (dvg.okl>0 and dvg.okl is not null))";

class TfmHRDOC130 : public TDepartmentList {
 public:
  TfmHRDOC130() : TDepartmentList({"HRDOC130", kQryExl25}) {
    Caption = "Печать \"Сведения о договорах по сотрудникам\" (Ф.ex.25)";
  }

 private:
  void Header(TExcelShablon& w, const std::string& H) override {
    w.SetField("ppH", "fzag", "Сведения о договорах по сотрудникам " + H + " на " + text::date_text(c_p->D));
  }
  void BindDate(db::Query& q, TDateTime D) override { q.set_date("DT2", D); }
  void Line(TExcelShablon& w, const db::Query& e, int number) override {
    const std::string date = e.field("CONTRACTDATE").as_string();
    w.SetField("ppD", "fnum", static_cast<int32_t>(number));
    w.SetField("ppD", "ffio", e.field("FNAME").as_string());
    w.SetField("ppD", "fdog", "№ " + e.field("CONTRACTN").as_string() + " от " + date);
    w.SetField("ppD", "fdtb", date);
    w.SetField("ppD", "fdte", e.field("DTN").as_string());
  }
};

const bool statements = register_statements("HRDOC130", {{"qryExl25", kQryExl25}});
const bool registered = register_report<TfmHRDOC130, "HRDOC130">();

}  // namespace
}  // namespace hrdoc
