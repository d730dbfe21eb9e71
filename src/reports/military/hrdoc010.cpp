// "HRDOC010": the employees of the department on military registration on the report date,
// grouped by department, with their registration data, address, passport and family.
#include <initializer_list>
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
t2st.owner, t2st.nmds,
ad1.fdr, ad1.ser,ad1.num, ad1.org, ad1.fdvd, adr.ind, adr.st, adr.regn,
adr.gor, adr.nas, adr.ulname,adr.dom, adr.korp, adr.kv, adr.adrin,swu.nswu,
wzv.nwzv,iiwu.wus,rwk.nrwk,adf.t,
adf.INDF, adf.STF, adf.REGF,
adf.GORF, adf.NASF, adf.ULNAMEF,adf.DOMF, adf.KORPF, adf.KVF, adf.ADRINF

from kdt2iiwu t2
left join kdt2iiidvg t2st on t2st.kp=t2.kp 
left join otzkpn kpn on kpn.kp=t2.kp
left join otzkpn s1 on s1.kp=t2st.owner
left join otzruc ruc on ruc.owner=t2st.owner
left join otzkpn s2 on s2.kp=ruc.ow1
left join otzkpn s3 on s3.kp=ruc.ow2
left join otzkpn s4 on s4.kp=ruc.ow3

left join zpads1 ad1 on ad1.kp=kpn.kp
left join zpadres adr on adr.kp=kpn.kp
left join kdt2iiwu iiwu on iiwu.kp=kpn.kp
left join kdt2iadf adf on adf.kp=kpn.kp
left join kdiiswu swu on swu.kswu=iiwu.kswu
left join kdiiwzv wzv on wzv.kwzv=iiwu.kwzv
left join kdiirwk rwk on rwk.krwk=iiwu.krwk
where t2.kows<>3 and t2.kows<>0 and
t2st.UNSD=(select first 1 t2dvg.UNSD from kdt2iiidvg t2dvg where t2dvg.kp=t2.kp and t2dvg.dto<=:fd order by t2dvg.DTO desc,t2dvg.UNSD desc)
and t2st.ktd not in (121,122) and t2st.ktpd=1 and t2st.OKL>0 and t2st.STV>0
and (ruc.ow1=:ow1 or ruc.ow2=:ow2 or ruc.ow3=:ow3 or ruc.ow4=:ow4 or ruc.ow5=:ow5
 or ruc.ow6=:ow6 or ruc.ow7=:ow7 or t2st.owner=:ow or 0=:md))";

constexpr const char* kFamily =
    R"(select kdisr.nsr,kdt2ifam.fio,kdt2ifam.dtr from kdt2ifam left join kdisr on kdisr.ksr=kdt2ifam.ksr where kp=:kp)";

// The address parts of the registered address and, after the same suffix, of the actual one.
struct AddressColumns {
  const char *region, *town, *settlement, *street, *house, *building, *flat;
};
constexpr AddressColumns kRegistered{"regn", "gor", "nas", "ulname", "dom", "korp", "kv"};
constexpr AddressColumns kActual{"REGF", "GORF", "NASF", "ULNAMEF", "DOMF", "KORPF", "KVF"};

class Tfmhrd01 : public TReportWindow {
 public:
  Tfmhrd01() {
    Caption = "Сведения о военнобязанных";
    lbM.set_caption("Подготовка информации");
  }

  void Job() override {
    TExcelShablon w;
    if (!OpenReport(w, "hrdoc01", "Подготовка информации")) return;
    const TDateTime D = c_p->D;
    skpw record;
    c_p->f_skpw(static_cast<uint16_t>(c_p->KP), c_p->payroll_month, &record);
    w.SetField("ppH", "f1",
               "Список военнообязанных подразделения " + GetPathSkpw(record) + " на " + text::date_text(D));

    db::Query qryKpn(*dm->ADOConnection);
    qryKpn.sql(kQryKpn);
    qryKpn.set_date("fd", D);
    for (const char* name : {"ow1", "ow2", "ow3", "ow4", "ow5", "ow6", "ow7", "ow", "md"})
      qryKpn.set(name, int64_t{c_p->KP});
    qryKpn.open();
    qryKpn.sort("sort1,sort2,sort3,sort4,fname");

    db::Query& family = *dm->qryTmp;
    family.close();
    family.sql(kFamily);
    int counter = 0;
    int64_t previousOwner = 0;
    PrintRows(qryKpn, "fname", [&] {
      const int64_t owner = qryKpn.field("owner").as_int();
      if (owner != previousOwner) {
        w.ClearPart("ppR");
        w.SetField("ppR", "f2", GetPathRow(qryKpn, record, c_p->KP));
        w.AddPart("ppR", 0);
        previousOwner = owner;
      }
      w.ClearPart("ppP");
      w.SetField("ppP", "f3", static_cast<int32_t>(++counter));
      for (const auto& [field, column] : {std::pair{"f4", "tn"}, std::pair{"f5", "fname"}, std::pair{"f6", "fdr"},
                                          std::pair{"f7", "nmds"}, std::pair{"f8", "nwzv"}, std::pair{"f9", "nswu"},
                                          std::pair{"f10", "wus"}, std::pair{"f11", "nrwk"}, std::pair{"f13", "t"}})
        w.SetField("ppP", field, qryKpn.field(column).as_string());
      w.SetField("ppP", "f12", Address(qryKpn));
      w.SetField("ppP", "f14", PassportText(qryKpn));
      w.SetField("ppP", "f15", FamilyText(family, qryKpn.field("kp").as_int()));
      w.AddPart("ppP", 0);
    });
    family.close();
    w.FitOutputRows();
    FinishReport(w, "ppH");
  }

 private:
  static std::string Address(const db::Query& row, const AddressColumns& c) {
    auto part = [&](const char* column) { return row.field(column).as_string(); };
    std::string text;
    if (const std::string s = part(c.region); !s.empty()) text += s + ", ";
    text += part(c.town);
    for (const auto& [column, prefix] : {std::pair{c.settlement, ", "}, std::pair{c.street, ", "},
                                         std::pair{c.house, ", д."}, std::pair{c.building, ", корп."},
                                         std::pair{c.flat, ", кв."}})
      if (const std::string s = part(column); !s.empty()) text += prefix + s;
    return text;
  }

  // The registered address when any part of it is filled, else the actual one.
  static std::string Address(const db::Query& row) {
    for (const char* column : {kRegistered.region, kRegistered.town, kRegistered.settlement, kRegistered.street,
                               kRegistered.house, kRegistered.building, kRegistered.flat})
      if (!row.field(column).as_string().empty()) return Address(row, kRegistered);
    return Address(row, kActual);
  }

  // "series number выдан body date".
  static std::string PassportText(const db::Query& row) {
    std::string text = row.field("ser").as_string();
    for (const auto& [column, prefix] :
         {std::pair{"num", " "}, std::pair{"org", " выдан "}, std::pair{"fdvd", " "}})
      if (const std::string s = row.field(column).as_string(); !s.empty()) text += prefix + s;
    return text;
  }

  // A blank, then "kinship name date," for every member.
  static std::string FamilyText(db::Query& family, int64_t kp) {
    family.close();
    family.set("kp", kp);
    family.open();
    std::string text = " ";
    for (family.first(); !family.eof(); family.next()) {
      text += family.field("nsr").as_string();
      for (const char* column : {"fio", "dtr"})
        if (const std::string s = family.field(column).as_string(); !s.empty()) text += " " + s;
      text += ",";
    }
    return text;
  }
};

const bool statements = register_statements("HRDOC010", {{"qryKpn", kQryKpn}, {"family", kFamily}});
const bool registered = register_report<Tfmhrd01, "HRDOC010">();

}  // namespace
}  // namespace hrdoc
