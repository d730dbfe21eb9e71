// "HRDOC050": the education records of the current employees of the selected department, a line
// per record under a heading per department.
#include <string>

#include "db/database.h"
#include "host/compark.h"
#include "reports/statistics/filled_report.h"
#include "host/statements.h"
#include "host/udm.h"
#include "host/uosrv250.h"
#include "office/classexl.h"
#include "reports/statistics/education_forms.h"
#include "reports/statistics/full_name.h"
#include "text/date.h"

namespace hrdoc {
namespace {

using office::TExcelShablon;

constexpr const char* kQryKpn = R"(select kpn.kp, kpn.tn, kpn.fname,
t2st.owner, t2st.nmds, t2.ndpl, t2st.rz,
ad1.fdr,obr.nobr,wuz.nwuz,ksd.nksd,
s2.sname sort1,s3.sname sort2, s4.sname sort3, s1.sname sort4
from kdt2iobr t2
left join kdt2iiidvg t2st on t2st.kp=t2.kp 
left join otzkpn kpn on kpn.kp=t2.kp
left join otzkpn s1 on s1.kp=t2st.owner
left join otzruc ruc on ruc.owner=t2st.owner
left join otzkpn s2 on s2.kp=ruc.ow1
left join otzkpn s3 on s3.kp=ruc.ow2
left join otzkpn s4 on s4.kp=ruc.ow3
left join zpads1 ad1 on ad1.kp=kpn.kp
left join kdiobr obr on obr.kobr=t2.kobr
left join kdiwuz wuz on wuz.kwuz=t2.kwuz
left join kdiksd ksd on ksd.kksd=t2.kksd
where 
t2st.dto=(select max(t2dvg.dto) from kdt2iiidvg t2dvg where t2dvg.kp=t2.kp and t2dvg.dto<=:fd)
and t2st.ktd!=121
and (ruc.ow1=:ow1 or ruc.ow2=:ow2 or ruc.ow3=:ow3 or ruc.ow4=:ow4 or ruc.ow5=:ow5
 or ruc.ow6=:ow6 or ruc.ow7=:ow7 or t2st.owner=:ow or 0=:md)
order by t2st.owner, kpn.fname)";

class Tfmhrd05 : public TFilledReport {
 public:
  Tfmhrd05() : TFilledReport("hrdoc05", "Подготовка информации", Errors::silent) {}

 private:
  void Fill(TExcelShablon& w) override {
    const int K = c_p->KP;
    skpw record;
    c_p->f_skpw(static_cast<uint16_t>(K), c_p->payroll_month, &record);
    w.SetField("ppH", "f1",
               "Сведения об образовании сотрудников подразделения " + GetPathSkpw(record) + " на " +
                   text::date_text(c_p->D));

    db::Query qryKpn(*dm->ADOConnection);
    qryKpn.sql(kQryKpn);
    qryKpn.set_date("fd", c_p->D);
    BindDepartment(qryKpn, K);
    qryKpn.open();
    qryKpn.sort("sort1,sort2,sort3,sort4,fname");
    pbM.set_max(qryKpn.record_count());

    int N = 0;
    int64_t owner = 0;
    for (qryKpn.first(); !qryKpn.eof(); qryKpn.next()) {
      if (N == 0 || qryKpn.field("OWNER").as_int() != owner) {
        owner = qryKpn.field("OWNER").as_int();
        w.ClearPart("ppR");
        w.SetField("ppR", "f2", GetPathRow(qryKpn, record, K));
        w.AddPart("ppR", 0);
      }
      w.ClearPart("ppP");
      w.SetField("ppP", "f3", static_cast<int32_t>(++N));
      const FullName name = SplitName(qryKpn.field("FNAME").as_string());
      w.SetField("ppP", "f4", name.surname);
      w.SetField("ppP", "f5", name.name);
      w.SetField("ppP", "f6", name.patronymic);
      for (auto [field, column] : {std::pair{"f7", "FDR"}, std::pair{"f8", "NMDS"}, std::pair{"f9", "RZ"},
                                   std::pair{"f10", "NOBR"}, std::pair{"f11", "NWUZ"}, std::pair{"f12", "NKSD"},
                                   std::pair{"f13", "NDPL"}})
        if (const std::string s = qryKpn.field(column).as_string(); !s.empty()) w.SetField("ppP", field, s);
      w.AddPart("ppP", 0);
      pbM.step_it();
    }
    w.FitOutputRows();
  }
};

const bool statements = register_statements("HRDOC050", {{"qryKpn", kQryKpn}});
const bool registered = register_report<Tfmhrd05, "HRDOC050">();

}  // namespace
}  // namespace hrdoc
