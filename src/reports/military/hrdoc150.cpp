// "HRDOC150": the employees in the reserve and those liable to call-up, department by
// department, with their passport, address, registration, position, education and family, in
// the enterprise's form Ф.ex.23.
#include <exception>
#include <string>

#include "db/database.h"
#include "host/compark.h"
#include "host/report_window.h"
#include "host/statements.h"
#include "host/udm.h"
#include "office/classexl.h"
#include "office/srvimp.h"
#include "reports/cards/address_texts.h"
#include "reports/department_set.h"
#include "reports/military/passport.h"
#include "text/date.h"

namespace hrdoc {
namespace {

using office::TExcelShablon;
using reports::kQryPODR;

constexpr const char* kTitle = R"(select FNAME from otzkpn where KP=:KP)";

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

class TfmHRDOC150 : public TReportWindow {
 public:
  TfmHRDOC150() {
    Caption = "Печать \"Сведения о работающих на предприятии гражданах пребывающих в запасе и гражданах "
              "подлежащих призыву на военную службу\" (Ф.ex.23)";
  }

  void Job() override {
    TExcelShablon w;
    if (!OpenReport(w, "HRDOC150", "Подготовка формы для печати...")) return;
    try {
      Fill(w);
    } catch (const std::exception& e) {
      // The rows written so far stay in the book.
      c_p->armerr(kArmError, std::string(e.what()));
    }
    FinishReport(w, "ppH");
  }

 private:
  // The family members as "kinship - name, 1990г.р. , ...".
  std::string FamilyText(db::Query& qryFam07, int64_t kp) {
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

  void Fill(TExcelShablon& w) {
    const TDateTime D = c_p->D;
    db::Query& qryTmp = *dm->qryTmp;
    qryTmp.close();
    qryTmp.sql(kTitle);
    qryTmp.set("KP", int64_t{c_p->KP});
    qryTmp.open();
    w.SetField("ppH", "fzag", "Список сотрудников подразделения " + qryTmp.field("FNAME").as_string() + " на " +
                                  text::date_text(D));
    qryTmp.close();

    db::Query qryPODR(*dm->ADOConnection), qryExl23(*dm->ADOConnection), qryFam07(*dm->ADOConnection);
    qryPODR.sql(std::string(kQryPODR) + c_p->GetKpSewForWhere("kpn.KP") + " order by 1");
    qryPODR.open();
    pbM.set_max(qryPODR.record_count());
    qryExl23.sql(kQryExl23);
    qryFam07.sql(kQryFam07);
    const char* order = reports::ListOrder(c_p->list_order);

    int number = 0;
    for (qryPODR.first(); !qryPODR.eof(); qryPODR.next()) {
      qryExl23.close();
      qryExl23.set_date("DTO", D);
      qryExl23.set("PODR", qryPODR.field("KP").as_int());
      qryExl23.open();
      if (order) qryExl23.sort(order);
      if (qryExl23.record_count() > 0) {
        w.ClearPart("ppZagD");
        w.SetField("ppZagD", "fname", reports::DepartmentHeading(qryPODR));
        w.AddPart("ppZagD", 0);
      }
      for (qryExl23.first(); !qryExl23.eof(); qryExl23.next()) {
        lbM.set_caption("Подготовка формы >" + qryExl23.field("FNAME").as_string());
        const int kp = static_cast<int>(qryExl23.field("KP").as_int());
        w.ClearPart("ppD");
        w.SetField("ppD", "fnum", std::to_string(++number));
        for (const auto& [field, column] : kPlainFields) w.SetField("ppD", field, qryExl23.field(column).as_string());
        const military::Passport passport = military::SplitPassport(
            qryExl23.field("VDOC").as_int(), qryExl23.field("SER").as_string(), qryExl23.field("NUM").as_string());
        w.SetField("ppD", "fser", passport.series);
        w.SetField("ppD", "fnump", passport.number);
        w.SetField("ppD", "fadrp", cards::registered_address(*dm, kp));
        w.SetField("ppD", "fadrf", cards::actual_address(*dm, kp));
        w.SetField("ppD", "fssem", FamilyText(qryFam07, kp));
        w.AddPart("ppD", 0);
      }
      pbM.step_it();
    }

    office::TServerImp& app = *w.GetApplication();
    app.SelectRange("A2:E" + std::to_string(w.OutputRow()), 0);
    app.AutoFitColumns(1, 5, 0);
    app.SelectRange("A1", 0);
    w.FitOutputRows();
    lbM.set_caption(number > 0 ? "Подготовка формы... Ok" : "Подготовка формы... Данных нет");
  }
};

const bool statements =
    register_statements("HRDOC150", {{"qryPODR", std::string(kQryPODR) + " order by 1"},
                                     {"qryExl23", kQryExl23},
                                     {"qryFam07", kQryFam07},
                                     {"title", kTitle}});
const bool registered = register_report<TfmHRDOC150, "HRDOC150">();

}  // namespace
}  // namespace hrdoc
