// "HRDOC140": the current employees department by department (form Ф.ех.24): name in three
// columns, birth date, position, grade and every education record.
#include <memory>
#include <string>

#include "db/database.h"
#include "host/compark.h"
#include "host/statements.h"
#include "office/classexl.h"
#include "reports/statistics/department_list.h"
#include "text/date.h"
#include "host/udm.h"
#include "reports/statistics/full_name.h"

namespace hrdoc {
namespace {

using office::TExcelShablon;

constexpr const char* kEnterprise = R"(select FNAME from otzkpn where KP=1)";

constexpr const char* kQryExl24 = R"(Select kpn.FNAME,kpn.KP, ads1.POL, ads1.FDR, kd.N as DOLN,dvg1.RZ,kpn.TN,
((htr.ktht*100000)+(htr.ktpd*10000)+htr.nn) as SORTNN
from  OTZKPN kpn
left join  ZPADS1 ads1 on ads1.KP=kpn.kp
left join  KDT2IIIDVG dvg1 on dvg1.unsd=
        (select first 1 dvg2.unsd
        from KDT2IIIDVG dvg2
        where dvg2.kp=kpn.kp and dvg2.DTO<=:DTO
        order by dvg2.DTO desc,dvg2.UNSD desc)
left join  ZPKD kd on kd.D=dvg1.KD
left join kdhtro htr on htr.owner=kpn.owner and htr.kd=dvg1.kd and htr.kp=dvg1.kp and htr.dto=dvg1.dto and htr.ktd=dvg1.ktd and htr.unsd=dvg1.unsd
where dvg1.owner=:PODR and kpn.TN>0 and dvg1.OKL>0
and ((select js.ktd
              from KDSDJS js
              where  js.UNSD=dvg1.UNSD
             ) not in (121,122,123) or dvg1.dto=:DT2))";

constexpr const char* kQryKdrt3 = R"(Select obr.NOBR,wuz.NWUZ,ksd.NKSD
from  KDT2IOBR t2obr
left join  KDIOBR obr on obr.KOBR=t2obr.KOBR
left join  KDIWUZ wuz on wuz.KWUZ=t2obr.KWUZ
left join  KDIKSD ksd on ksd.KKSD=t2obr.KKSD
where t2obr.KP=:KP
order by t2obr.KTZO)";

// Line breaks inside a cell: the records of one employee are lines of one field.
constexpr char kCR = '\r';

class TfmHRDOC140 : public TDepartmentList {
 public:
  TfmHRDOC140() : TDepartmentList({"HRDOC140", kQryExl24}) {
    Caption = "Печать \"Сведения по сотрудникам\" (Ф.ех.24)";
  }

 private:
  void Header(TExcelShablon& w, const std::string& H) override {
    w.SetField("ppH", "fzag", "Список сотрудников подразделения " + H + " на " + text::date_text(c_p->D));
    db::Query& qryTmp = *dm->qryTmp;
    qryTmp.close();
    qryTmp.sql(kEnterprise);
    qryTmp.open();
    w.SetField("ppH", "fpdr", qryTmp.field("FNAME").as_string());
    qryTmp.close();
    qryKdrt3_ = std::make_unique<db::Query>(*dm->ADOConnection);
    qryKdrt3_->sql(kQryKdrt3);
  }
  void BindDate(db::Query& q, TDateTime D) override {
    q.set_date("DTO", D);
    q.set_date("DT2", D);
  }
  void Line(TExcelShablon& w, const db::Query& e, int number) override {
    w.SetField("ppD", "fnum", static_cast<int32_t>(number));
    const FullName name = SplitNameToPatronymic(e.field("FNAME").as_string());
    w.SetField("ppD", "ffam", name.surname);
    w.SetField("ppD", "fname", name.name);
    w.SetField("ppD", "fotch", name.patronymic);
    w.SetField("ppD", "fdr", e.field("FDR").as_string());
    w.SetField("ppD", "fdol", e.field("DOLN").as_string());
    w.SetField("ppD", "fraz", e.field("RZ").as_string());

    db::Query& q = *qryKdrt3_;
    q.close();
    q.set("KP", e.field("KP").as_int());
    q.open();
    std::string obr, univ, speciality;
    for (q.first(); !q.eof(); q.next()) {
      if (!obr.empty()) obr += kCR;
      obr += q.field("NOBR").as_string();
      if (!univ.empty()) univ += kCR;
      univ += q.field("NWUZ").as_string();
      if (!speciality.empty()) speciality += std::string(";") + kCR;
      speciality += q.field("NKSD").as_string();
    }
    w.SetField("ppD", "fobr", obr);
    w.SetField("ppD", "funiv", univ);
    w.SetField("ppD", "fspec", speciality);
  }

  std::unique_ptr<db::Query> qryKdrt3_;
};

const bool statements = register_statements(
    "HRDOC140", {{"otzkpn root", kEnterprise}, {"qryExl24", kQryExl24}, {"qryKdrt3", kQryKdrt3}});
const bool registered = register_report<TfmHRDOC140, "HRDOC140">();

}  // namespace
}  // namespace hrdoc
