// "HRDOC150": the employees in the reserve and those liable to call-up, department by
// department, with their passport, address, registration, position, education and family, in
// the enterprise's form Ф.ex.23.
#include <memory>
#include <string>

#include "db/database.h"
#include "host/compark.h"
#include "host/statements.h"
#include "host/udm.h"
#include "office/classexl.h"
#include "reports/cards/address_texts.h"
#include "reports/military/passport.h"
#include "reports/statistics/department_list.h"
#include "text/date.h"

namespace hrdoc {
namespace {

using office::TExcelShablon;
constexpr const char* kQryExl23 = R"(Select kpn.FNAME,kpn.KP,kpn.TN, ads1.POL, ads1.FDR, dvg.NMDS as DOLN,dvg.RZ,ads1.SER,
ads1.NUM,ads1.ORG,ads1.FDVD,adf.T,kwu.NKWU,wzv.NWZV,swu.NSWU,wu.WUS,gwu.NGWU,rwk.NRWK,
vwu.NVWU,wu.NSU,wu.MOB,dvg.DTO,kpn1.SNAME as OWNM,dvg.NMDS,jz.ND,jz.DTV,kwd.NKWD,ksd.NKSD,
sem.NSEM,ads1.VDOC,((htr.ktht*100000)+(htr.ktpd*10000)+htr.nn) as SORTNN
from  KDT2IIIDVG dvg
left join  OTZKPN kpn on kpn.KP=dvg.kp
left join  ZPADS1 ads1 on ads1.KP=dvg.kp
left join  KDT2IADF adf on adf.KP=kpn.kp
left join  KDT2IIWU wu on wu.KP=kpn.kp
left join  KDIIKWU kwu on kwu.KKWU=wu.KKWU
left join  KDIIWZV wzv on wzv.KWZV=wu.KWZV
left join  KDIISWU swu on swu.KSWU=wu.KSWU
left join  KDIIGWU gwu on gwu.KGWU=wu.KGWU
left join  KDIIRWK rwk on rwk.KRWK=wu.KRWK
left join  KDIIVWU vwu on vwu.KVWU=wu.KVWU
left join  OTZKPN kpn1 on kpn1.kp=dvg.OWNER
left join  KDSDJS js on js.UNSD=dvg.UNSD
left join  KDSDJZ jz on jz.UND=js.UND
left join  KDT2IOBR obr on obr.KP=kpn.KP and obr.KTZO=1
left join  KDIKWD kwd on kwd.KKWD=obr.KKWD
left join  KDIKSD ksd on ksd.KKSD=obr.KKSD
left join  KDT2IOB ob on ob.KP=kpn.KP
left join  KDISEM sem on sem.KSEM=ob.KSEM
left join kdhtro htr on htr.owner=kpn.owner and htr.kd=dvg.kd and htr.kp=dvg.kp and htr.dto=dvg.dto and htr.ktd=dvg.ktd and htr.unsd=dvg.unsd
where dvg.owner=:PODR and kpn.TN>0 and (wu.KP is not NULL and wu.KOWS<>3 and wu.KOWS<>0) and
dvg.UNSD=(select first 1 dvg2.unsd
        from KDT2IIIDVG dvg2
        where dvg2.kp=kpn.kp and dvg2.DTO<=:DTO
        order by dvg2.DTO desc, dvg2.UNSD desc)
and dvg.KTD not in (121,122) and dvg.OKL>0 and dvg.STV>0 and dvg.ktpd=1)";

constexpr const char* kQryFam07 = R"(SELECT fam.FIO,fam.DTR, str.NSR as strN
FROM KDT2IFAM fam
left join KDISR str on str.ksr=fam.KSR
WHERE fam.KP= :KP
order by fam.KSR)";

// The fields of ppD that take a column of qryExl23 as it stands.
constexpr std::pair<const char*, const char*> kPlainFields[] = {
    {"ftn", "TN"},     {"ffio", "FNAME"},  {"fdr", "FDR"},       {"ffdvd", "FDVD"},  {"forg", "ORG"},
    {"ftel", "T"},     {"fkuch", "NKWU"},  {"fvzw", "NWZV"},     {"fsost", "NSWU"},  {"fvus", "WUS"},
    {"fgodn", "NGWU"}, {"fvoenk", "NRWK"}, {"fviduch", "NVWU"},  {"fspecuch", "NSU"}, {"fmob", "MOB"},
    {"fdtpost", "DTO"}, {"fow", "OWNM"},   {"fdtpr", "DTV"},     {"fnumpr", "ND"},   {"fkval", "NKWD"},
    {"fspec", "NKSD"}, {"fsemp", "NSEM"},  {"fprof", "NMDS"}};

class TfmHRDOC150 : public TDepartmentList {
 public:
  TfmHRDOC150() : TDepartmentList({"HRDOC150", kQryExl23, "Подготовка формы... Данных нет"}) {
    Caption = "Печать \"Сведения о работающих на предприятии гражданах пребывающих в запасе и гражданах "
              "подлежащих призыву на военную службу\" (Ф.ex.23)";
  }

 private:
  void Header(TExcelShablon& w, const std::string& H) override {
    w.SetField("ppH", "fzag", "Список сотрудников подразделения " + H + " на " + text::date_text(c_p->D));
    qryFam07_ = std::make_unique<db::Query>(*dm->ADOConnection);
    qryFam07_->sql(kQryFam07);
  }

  void BindDate(db::Query& q, TDateTime D) override { q.set_date("DTO", D); }

  void Line(TExcelShablon& w, const db::Query& employee, int number) override {
    const int kp = static_cast<int>(employee.field("KP").as_int());
    w.SetField("ppD", "fnum", std::to_string(number));
    for (const auto& [field, column] : kPlainFields) w.SetField("ppD", field, employee.field(column).as_string());
    const military::Passport passport = military::SplitPassport(
        employee.field("VDOC").as_int(), employee.field("SER").as_string(), employee.field("NUM").as_string());
    w.SetField("ppD", "fser", passport.series);
    w.SetField("ppD", "fnump", passport.number);
    w.SetField("ppD", "fadrp", cards::registered_address(*dm, kp));
    w.SetField("ppD", "fadrf", cards::actual_address(*dm, kp));
    w.SetField("ppD", "fssem", FamilyText(kp));
  }

  // The family members as "kinship - name, 1990г.р. , ...".
  std::string FamilyText(int64_t kp) {
    db::Query& qryFam07 = *qryFam07_;
    qryFam07.close();
    qryFam07.set("KP", kp);
    qryFam07.open();
    std::string text;
    for (qryFam07.first(); !qryFam07.eof();) {
      const std::string kinship = qryFam07.field("strN").as_string(), fio = qryFam07.field("FIO").as_string();
      if (!kinship.empty()) text += kinship + " - ";
      if (!fio.empty()) text += fio + ", ";
      if (!qryFam07.field("DTR").is_null())
        text += std::to_string(text::decode_date(qryFam07.field("DTR").as_date()).year) + "г.р. ";
      qryFam07.next();
      if (!qryFam07.eof()) text += ", ";
    }
    return text;
  }

  std::unique_ptr<db::Query> qryFam07_;
};

const bool statements =
    register_statements("HRDOC150", {{"qryExl23", kQryExl23}, {"qryFam07", kQryFam07}});
const bool registered = register_report<TfmHRDOC150, "HRDOC150">();

}  // namespace
}  // namespace hrdoc
